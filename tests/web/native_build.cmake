# Makes the native side of the page's agreement tests ready in the build NATIVE: builds
# messages-lint and the tests that hold the documents, then has them write the documents.
if(NOT EXISTS "${NATIVE}/CMakeCache.txt")
  message(FATAL_ERROR "no native build in ${NATIVE}: configure one first (cmake --preset test)")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${NATIVE}" -j2
                        --target messages-lint parse_feed_test feed_acceptance_test
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ctest --test-dir "${NATIVE}" -R "^collect_test_documents$" --output-on-failure
                COMMAND_ERROR_IS_FATAL ANY)
