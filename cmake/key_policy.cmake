# Which public key a build carries, and whether that build may leave the build tree.
#
# MODELS_PUBKEY_HEX is a cache variable: -D sets it, and a build that requires the production key
# (MT_REQUIRE_PRODUCTION_KEY, set by the release preset) takes it from the environment variable
# of the same name while the cache holds none. Once taken, the cache keeps it, so no later
# configure (a preset, or a reconfigure started by the build) can replace it unnoticed. Every
# other build defaults to the development key of tests/keys/, whatever the environment holds, so
# the dev and test builds keep checking the example and the tests' feeds.
#
# Leaves MT_KEY_IS_DEV_KEY and MT_KEY_IS_WELL_FORMED for the install rules, and writes
# pubkey.hex into the build directory: the very text the tool compiles in, and a line feed.

option(MT_REQUIRE_PRODUCTION_KEY
       "Refuse to configure unless MODELS_PUBKEY_HEX is a well-formed key other than the development key" OFF)
option(MT_ALLOW_DEV_KEY "Let cmake --install and cpack copy a development-key build (only to try the package out)"
       OFF)

set(mt_key_doc "Ed25519 public key that feeds must be signed with: 64 hexadecimal digits")
string(STRIP "$ENV{MODELS_PUBKEY_HEX}" mt_env_key)
string(TOLOWER "${mt_env_key}" mt_env_key)
set(mt_key_source "-DMODELS_PUBKEY_HEX")
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

set(mt_how_to_pass "pass -DMODELS_PUBKEY_HEX=<64 hex digits of the production key> or set MODELS_PUBKEY_HEX in \
the environment")
if(MT_REQUIRE_PRODUCTION_KEY AND (NOT MT_KEY_IS_WELL_FORMED OR MT_KEY_IS_DEV_KEY))
  if("${mt_key}" STREQUAL "")
    set(mt_problem "MODELS_PUBKEY_HEX is not set and this build needs the production key")
  elseif(MT_KEY_IS_DEV_KEY)
    set(mt_problem "MODELS_PUBKEY_HEX from ${mt_key_source} is the development key, whose private seed is public")
  else()
    set(mt_problem "MODELS_PUBKEY_HEX from ${mt_key_source} is not 64 hexadecimal digits (${mt_key_length} \
characters)")
  endif()
  # Forget the refused value, so that the next configure takes a corrected one.
  set(MODELS_PUBKEY_HEX "" CACHE STRING "${mt_key_doc}" FORCE)
  # The leading blank keeps CMake from wrapping the message: it stays one line.
  message(FATAL_ERROR " ${mt_problem}: ${mt_how_to_pass}.")
endif()

if(MT_REQUIRE_PRODUCTION_KEY AND NOT "${mt_env_key}" STREQUAL "" AND NOT "${mt_env_key}" STREQUAL "${mt_key}")
  message(WARNING "The environment variable MODELS_PUBKEY_HEX differs from the key that this build directory holds; "
                  "the build keeps its key. Pass -DMODELS_PUBKEY_HEX=<key> to change it.")
endif()
if(NOT MT_KEY_IS_WELL_FORMED)
  message(WARNING "MODELS_PUBKEY_HEX is not 64 hexadecimal digits: this build will refuse every feed.")
elseif(MT_KEY_IS_DEV_KEY)
  message(WARNING "MODELS_PUBKEY_HEX is the development key of tests/keys/, whose private seed is public: this "
                  "build accepts feeds that anyone can sign. It serves the example and the tests; cmake --install "
                  "and cpack refuse it. For a tool that checks real feeds, ${mt_how_to_pass}.")
endif()
message(STATUS "MODELS_PUBKEY_HEX: ${MODELS_PUBKEY_HEX}")

file(CONFIGURE OUTPUT "${PROJECT_BINARY_DIR}/pubkey.hex" CONTENT "${MODELS_PUBKEY_HEX}\n")
