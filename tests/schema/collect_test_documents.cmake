# Runs each test program in PROGRAMS (separated by |) with MT_TEST_DOCUMENT_DIR set to DIR, which is emptied
# first, so DIR holds exactly the documents those programs hold now.
file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")
set(ENV{MT_TEST_DOCUMENT_DIR} "${DIR}")
string(REPLACE "|" ";" programs "${PROGRAMS}")
# A cross build runs them through its emulator (EMULATOR: its words, separated by |).
string(REPLACE "|" ";" emulator "${EMULATOR}")
foreach(program IN LISTS programs)
  execute_process(COMMAND ${emulator} "${program}" --gtest_brief=1 RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${program} failed while recording its documents (${status})")
  endif()
endforeach()
file(GLOB documents "${DIR}/*.json")
list(LENGTH documents count)
message(STATUS "${count} documents in ${DIR}")
