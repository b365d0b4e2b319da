# Makes the native side of the WebAssembly build's agreement tests ready in the build NATIVE:
# builds messages-lint and the tests that hold the documents, the large feed and the language
# server's byte streams, then has them write those.
if(NOT EXISTS "${NATIVE}/CMakeCache.txt")
  message(FATAL_ERROR "no native build in ${NATIVE}: configure one first (cmake --preset test)")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${NATIVE}" -j2
                        --target messages-lint parse_feed_test feed_acceptance_test lsp_session_test lsp_large_feed
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ctest --test-dir "${NATIVE}" -R "^(collect_test_documents|lsp_large_feed)$" --output-on-failure
                COMMAND_ERROR_IS_FATAL ANY)
# The session test's byte streams, for the language server's module to replay.
set(streams "${NATIVE}/tests/lsp/scratch/streams")
file(REMOVE_RECURSE "${streams}")
file(MAKE_DIRECTORY "${streams}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E env "MT_LSP_STREAMS=${streams}" "${NATIVE}/bin/lsp_session_test"
                        --gtest_brief=1 COMMAND_ERROR_IS_FATAL ANY)
