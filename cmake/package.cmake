# The Debian package of the tool: `cpack --preset release` after the release build writes
# build/release/messages-tool_<version>_<arch>.deb. It holds the files of cmake/install.cmake under
# /usr, with the man page gzipped, the changelog, and the lintian override (cmake/deb_staging.cmake
# adds those to cpack's staging directory). The install guard refuses development-key builds here
# too, and the package configuration refuses them before cpack stages anything.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "messages-tool")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "messages-tool maintainers <messages-tool@localhost>")
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "check a signed message feed before it is published")
# The long description, in lines of at most 80 characters; an empty line starts a paragraph.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "messages-tool check FILE verifies a message feed of the Orvenda desktop"
  "application exactly as the application will: the detached Ed25519 signature"
  "over the exact bytes of the file, in the strict form, with the public key"
  "compiled into this build; then a strict reading of the JSON document, the"
  "feed rules and the rules on every message."
  ""
  "It prints the revision and the message ids of an accepted feed, or one line"
  "that names the first reason for refusal, and ends with a status that a"
  "publishing job can test. It needs no private key and writes no file."
  ""
  "messages-lint FILE... checks unsigned drafts with the same reader and rules"
  "and lists every problem at once, located by line and column, for people, as"
  "JSON Lines or as GitHub annotations. A JSON Schema of the feed for editors is"
  "in /usr/share/messages-tool/."
  ""
  "The public key of this build is in /usr/share/doc/messages-tool/pubkey.hex.")
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# Dependencies come from the binary: none for the static tool, the shared libraries otherwise.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE "xz")
set(CPACK_STRIP_FILES ON)

set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake")
set(CPACK_PRE_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/deb_staging.cmake")
set(MT_DEB_FILES_DIR "${PROJECT_SOURCE_DIR}/packaging/deb")
set(MT_SOURCE_DIR "${PROJECT_SOURCE_DIR}")
configure_file("${PROJECT_SOURCE_DIR}/cmake/CPackProjectConfig.cmake.in" "${CPACK_PROJECT_CONFIG_FILE}" @ONLY)

# The changelog's newest entry and the man page must name this version, or the package would
# contradict itself.
file(STRINGS "${MT_DEB_FILES_DIR}/changelog" mt_changelog_head LIMIT_COUNT 1)
if(NOT mt_changelog_head MATCHES "^messages-tool \\(${PROJECT_VERSION}\\) ")
  message(WARNING "packaging/deb/changelog does not begin with an entry for version ${PROJECT_VERSION}: "
                  "add one before packaging.")
endif()

file(STRINGS "${PROJECT_SOURCE_DIR}/doc/messages-tool.1" mt_man_title REGEX "^\\.TH ")
if(NOT mt_man_title MATCHES "\"messages-tool ${PROJECT_VERSION}\"")
  message(WARNING "doc/messages-tool.1 does not name version ${PROJECT_VERSION} in its .TH line.")
endif()

include(CPack)
