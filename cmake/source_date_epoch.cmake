# The time written into the package: SOURCE_DATE_EPOCH when the caller set it, else the time of
# the last commit. Included by cpack's project configuration, which sets the environment variable
# that CMake's DEB generator reads; `cmake -P cmake/source_date_epoch.cmake` prints the value, so
# a copy of the sources without the history can be packaged with the same time.
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  get_filename_component(mt_sources "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
  execute_process(COMMAND git -C "${mt_sources}" log -1 --format=%ct
                  OUTPUT_VARIABLE mt_commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE mt_git_status ERROR_QUIET)
  if(mt_git_status EQUAL 0 AND mt_commit_time MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} "${mt_commit_time}")
  else()
    message(WARNING "No git history at ${mt_sources} and no SOURCE_DATE_EPOCH: the package carries the files' "
                    "own times and is not reproducible.")
  endif()
endif()
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E echo "$ENV{SOURCE_DATE_EPOCH}")
endif()
