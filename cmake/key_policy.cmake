# Which public key a build carries, and whether that build may leave the build tree.
#
# MODELS_PUBKEY_HEX is a cache variable. A build that requires the production key
# (MT_REQUIRE_PRODUCTION_KEY, set by the release presets) takes it from -D, or from the environment
# variable of the same name while the cache holds none. Once taken, the cache holds it, and no
# configure switches it silently: -D sets a new key and wins; the environment variable, when set,
# non-empty and different from the cached key, stops the configure (a preset run, or a
# reconfigure that the build starts by itself, alike). Every other build defaults to the
# development key, whatever the environment holds, so dev and test keep checking the example and
# the tests' feeds.
#
# No build that requires the production key accepts a key whose private seed is in this
# repository: each tests/keys/<name>.hex seed has its public key beside it in <name>.pub (the
# key_pairs test holds the two together), read here without running anything, so cross builds
# need no signer.
#
# Leaves MT_DEV_PUBKEY_HEX, MT_KEY_IS_DEV_KEY, MT_KEY_SEED_FILE (the seed of a repository key, or
# empty) and MT_KEY_IS_WELL_FORMED for the install rules and the tests, and writes pubkey.hex into
# the build directory: the very text the tool compiles in, and a line feed.

option(MT_REQUIRE_PRODUCTION_KEY
       "Refuse to configure unless MODELS_PUBKEY_HEX is a well-formed key whose seed is not in the repository" OFF)
option(MT_ALLOW_DEV_KEY "Let cmake --install and cpack copy a build with a repository key (only to try the package out)"
       OFF)

# The public keys of the seeds in the repository, each with its seed's file name.
set(mt_keys_dir "${PROJECT_SOURCE_DIR}/tests/keys")
file(GLOB mt_repository_pub_files RELATIVE "${mt_keys_dir}" CONFIGURE_DEPENDS "${mt_keys_dir}/*.pub")
set(mt_repository_keys "")
foreach(mt_pub IN LISTS mt_repository_pub_files)
  file(STRINGS "${mt_keys_dir}/${mt_pub}" mt_pub_key LIMIT_COUNT 1)
  string(TOLOWER "${mt_pub_key}" mt_pub_key)
  string(REGEX REPLACE "\\.pub$" ".hex" mt_seed "${mt_pub}")
  list(APPEND mt_repository_keys "${mt_pub_key}=tests/keys/${mt_seed}")
endforeach()
file(STRINGS "${mt_keys_dir}/dev_seed.pub" MT_DEV_PUBKEY_HEX LIMIT_COUNT 1)
list(TRANSFORM mt_repository_pub_files PREPEND "${mt_keys_dir}/" OUTPUT_VARIABLE mt_pub_paths)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${mt_pub_paths})

set(mt_key_doc "Ed25519 public key that feeds must be signed with: 64 hexadecimal digits")
string(STRIP "$ENV{MODELS_PUBKEY_HEX}" mt_env_key)
string(TOLOWER "${mt_env_key}" mt_env_key)
set(mt_key_source "-DMODELS_PUBKEY_HEX")
# The key this build directory took at its last configure; a MODELS_PUBKEY_HEX that differs from
# it was set by -D in this run.
set(mt_taken_key "${MT_TAKEN_PUBKEY_HEX}")
if(NOT MT_REQUIRE_PRODUCTION_KEY)
  # Empty counts as not set, here as in a release build.
  if("${MODELS_PUBKEY_HEX}" STREQUAL "")
    set(MODELS_PUBKEY_HEX "${MT_DEV_PUBKEY_HEX}" CACHE STRING "${mt_key_doc}" FORCE)
  endif()
elseif("${MODELS_PUBKEY_HEX}" STREQUAL "" AND NOT "${mt_env_key}" STREQUAL "")
  set(MODELS_PUBKEY_HEX "${mt_env_key}" CACHE STRING "${mt_key_doc}" FORCE)
  set(mt_key_source "the environment variable MODELS_PUBKEY_HEX")
endif()

# The key is kept in the loader's canonical text: no white space around it, lower-case digits.
string(STRIP "${MODELS_PUBKEY_HEX}" mt_key)
string(TOLOWER "${mt_key}" mt_key)
string(LENGTH "${mt_key}" mt_key_length)
set(MT_KEY_IS_WELL_FORMED OFF)
if(mt_key MATCHES "^[0-9a-f]+$" AND mt_key_length EQUAL 64)
  set(MT_KEY_IS_WELL_FORMED ON)
  set(MODELS_PUBKEY_HEX "${mt_key}" CACHE STRING "${mt_key_doc}" FORCE)
endif()
set(MT_KEY_IS_DEV_KEY OFF)
if("${mt_key}" STREQUAL "${MT_DEV_PUBKEY_HEX}")
  set(MT_KEY_IS_DEV_KEY ON)
endif()
set(MT_KEY_SEED_FILE "")
if(MT_KEY_IS_WELL_FORMED)
  foreach(mt_entry IN LISTS mt_repository_keys)
    if(mt_entry MATCHES "^${mt_key}=(.*)$")
      set(MT_KEY_SEED_FILE "${CMAKE_MATCH_1}")
    endif()
  endforeach()
endif()

set(mt_how_to_pass "pass -DMODELS_PUBKEY_HEX=<64 hex digits of the production key> or set MODELS_PUBKEY_HEX in \
the environment")
if(MT_REQUIRE_PRODUCTION_KEY)
  set(mt_problem "")
  if("${mt_key}" STREQUAL "")
    set(mt_problem "MODELS_PUBKEY_HEX is not set and this build needs the production key: ${mt_how_to_pass}")
  elseif(NOT MT_KEY_IS_WELL_FORMED)
    set(mt_problem "MODELS_PUBKEY_HEX from ${mt_key_source} is not 64 hexadecimal digits (${mt_key_length} \
characters): ${mt_how_to_pass}")
  elseif(NOT MT_KEY_SEED_FILE STREQUAL "")
    set(mt_problem "MODELS_PUBKEY_HEX from ${mt_key_source} is the key of ${MT_KEY_SEED_FILE}, whose private seed \
is in this repository: ${mt_how_to_pass}")
  elseif(NOT "${mt_env_key}" STREQUAL "" AND NOT "${mt_env_key}" STREQUAL "${mt_key}"
         AND "${mt_key}" STREQUAL "${mt_taken_key}")
    set(mt_problem "the environment variable MODELS_PUBKEY_HEX differs from the key ${mt_key} that \
${PROJECT_BINARY_DIR} holds: unset it to keep that key, pass -DMODELS_PUBKEY_HEX=<key> to change it, or use a fresh \
build directory")
  endif()
  if(NOT mt_problem STREQUAL "")
    if(NOT "${mt_key}" STREQUAL "${mt_taken_key}")
      # Forget a refused new value, so that the next configure takes a corrected one.
      set(MODELS_PUBKEY_HEX "${mt_taken_key}" CACHE STRING "${mt_key_doc}" FORCE)
    endif()
    # The leading blank keeps CMake from wrapping the message: it stays one line.
    message(FATAL_ERROR " ${mt_problem}.")
  endif()
endif()
set(MT_TAKEN_PUBKEY_HEX "${MODELS_PUBKEY_HEX}" CACHE INTERNAL "The key this build directory holds")

if(NOT MT_KEY_IS_WELL_FORMED)
  message(WARNING "MODELS_PUBKEY_HEX is not 64 hexadecimal digits: this build will refuse every feed.")
elseif(MT_KEY_IS_DEV_KEY)
  message(WARNING "MODELS_PUBKEY_HEX is the development key of tests/keys/, whose private seed is public: this "
                  "build accepts feeds that anyone can sign. It serves the example and the tests; cmake --install "
                  "and cpack refuse it. For a tool that checks real feeds, ${mt_how_to_pass}.")
elseif(NOT MT_KEY_SEED_FILE STREQUAL "")
  message(WARNING "MODELS_PUBKEY_HEX is the key of ${MT_KEY_SEED_FILE}, whose private seed is public: this build "
                  "accepts feeds that anyone can sign; cmake --install and cpack refuse it.")
endif()
# The key on a line of its own, so that a log shows at a glance which key went into the build.
message(STATUS "MODELS_PUBKEY_HEX: ${MODELS_PUBKEY_HEX}")

file(CONFIGURE OUTPUT "${PROJECT_BINARY_DIR}/pubkey.hex" CONTENT "${MODELS_PUBKEY_HEX}\n")
