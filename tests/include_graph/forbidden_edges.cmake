# Builds every probe of a forbidden edge in one run of the build tool, which keeps going past
# failures, and passes only when each probe failed on its own include with the compiler's words
# for a missing header (GCC's or Clang's), so a failure for any other reason does not count.
# Names every edge that was crossed.
#
# cmake -DBUILD_DIR=<build tree> -DGENERATOR=<its generator> -DEDGES=<forbidden_edges.cmake> -P forbidden_edges.cmake
cmake_minimum_required(VERSION 3.25)
include("${EDGES}")

set(targets "")
foreach(edge IN LISTS MT_FORBIDDEN_EDGES)
  string(REPLACE "|" ";" fields "${edge}")
  list(GET fields 3 target)
  list(APPEND targets ${target})
endforeach()

if(GENERATOR MATCHES "Ninja")
  set(keep_going -- -k 0)
elseif(GENERATOR MATCHES "Makefiles")
  set(keep_going -- -k)
else()
  message(FATAL_ERROR "the probes need a build tool that keeps going past failures (Ninja or Make), not ${GENERATOR}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${BUILD_DIR}" --target ${targets} ${keep_going}
                OUTPUT_VARIABLE output ERROR_VARIABLE output)

set(crossed "")
list(LENGTH MT_FORBIDDEN_EDGES total)
foreach(edge IN LISTS MT_FORBIDDEN_EDGES)
  string(REPLACE "|" ";" fields "${edge}")
  list(GET fields 0 from)
  list(GET fields 1 to)
  list(GET fields 2 header)
  list(GET fields 4 file)
  string(REGEX REPLACE "([][.+*?^$()|\\\\])" "\\\\\\1" file_pattern "${file}")
  string(REGEX REPLACE "([][.+*?^$()|\\\\])" "\\\\\\1" header_pattern "${header}")
  if(NOT output MATCHES
     "/${file_pattern}:[0-9]+:[0-9]+: fatal error: (${header_pattern}: No such file or directory|'${header_pattern}' file not found)")
    # The compiler's lines about this probe, when it failed for another reason.
    string(REGEX MATCHALL "[^\n]*/${file_pattern}:[0-9]+:[^\n]*" lines "${output}")
    if(lines)
      string(APPEND crossed "\n  ${from} -> ${to}: the probe of ${header} failed otherwise:")
    else()
      string(APPEND crossed "\n  ${from} -> ${to}: ${header} was found")
    endif()
    foreach(line IN LISTS lines)
      string(APPEND crossed "\n    ${line}")
    endforeach()
  endif()
endforeach()

if(NOT crossed STREQUAL "")
  message(FATAL_ERROR "include graph crossed (src/block_graph.cmake):${crossed}")
endif()
message(STATUS "${total} forbidden edges refused")
