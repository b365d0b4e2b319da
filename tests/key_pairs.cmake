# Every seed in tests/keys/ has its public key beside it, and every .pub is the key of its seed:
# a release configure refuses the keys it reads from the .pub files, so a missing or wrong one
# would let a key with a public seed through.
#   cmake -DSIGN_FEED=<sign_feed> [-DEMULATOR=<command>] -DKEYS_DIR=<tests/keys> -P key_pairs.cmake
file(GLOB seeds "${KEYS_DIR}/*.hex")
file(GLOB pubs "${KEYS_DIR}/*.pub")
list(LENGTH seeds seed_count)
list(LENGTH pubs pub_count)
if(seed_count EQUAL 0 OR NOT seed_count EQUAL pub_count)
  message(FATAL_ERROR "${seed_count} seeds and ${pub_count} .pub files in ${KEYS_DIR}")
endif()
foreach(seed IN LISTS seeds)
  string(REGEX REPLACE "\\.hex$" ".pub" pub "${seed}")
  if(NOT EXISTS "${pub}")
    message(FATAL_ERROR "${seed} has no public key beside it (${pub})")
  endif()
  execute_process(COMMAND ${EMULATOR} "${SIGN_FEED}" --public-key "${seed}"
                  OUTPUT_VARIABLE derived RESULT_VARIABLE status)
  file(READ "${pub}" committed)
  if(NOT status EQUAL 0 OR NOT derived STREQUAL committed)
    message(FATAL_ERROR "${pub} is not the public key of ${seed}: the seed gives ${derived}")
  endif()
endforeach()
