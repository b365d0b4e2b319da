# The Debian package of the tool: `cpack --preset release` after the release build writes
# build/release/messages-tool_<version>-<revision>_<arch>.deb (the revision is the one of the top
# entry of packaging/deb/changelog, cmake/version.cmake reads it), and the release-arm64 preset the
# same for arm64. It holds the files of cmake/install.cmake under /usr, with the man pages gzipped,
# the changelog, and the lintian override (cmake/deb_staging.cmake adds those to cpack's staging
# directory). The install guard refuses repository-key builds here too, and the package
# configuration refuses them before cpack stages anything.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "messages-tool")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_DEBIAN_PACKAGE_RELEASE "${MT_DEB_REVISION}")
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
  "JSON Lines or as GitHub annotations. messages-lint --lsp is a language server"
  "that shows the same problems in an editor while the author types, with quick"
  "fixes; a VS Code extension for it and a JSON Schema of the feed for editors"
  "are in /usr/share/messages-tool/."
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

# A cross build is packaged for its target; CPack would take the host's architecture.
if(CMAKE_CROSSCOMPILING)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE "arm64")
  else()
    message(WARNING "No Debian architecture known for ${CMAKE_SYSTEM_PROCESSOR}: cpack names the host's.")
  endif()
endif()

# The static programs carry code of the Debian packages they were linked with. Debian declares the
# sources whose licence requires it in Built-Using (glibc, LGPL) and the other statically linked
# sources in Static-Built-Using (libsodium, and libstdc++ from gcc). Each is found from the archive
# the build links, so a cross build names the cross C library's source.
function(mt_debian_source out archive)
  set(${out} "" PARENT_SCOPE)
  get_filename_component(archive "${archive}" REALPATH)
  execute_process(COMMAND dpkg-query -S "${archive}" OUTPUT_VARIABLE owner RESULT_VARIABLE status ERROR_QUIET)
  if(NOT status EQUAL 0 OR NOT owner MATCHES "^([^:,]+(:[a-z0-9]+)?): ")
    message(WARNING "No Debian package holds ${archive}: the package does not declare its source.")
    return()
  endif()
  execute_process(COMMAND dpkg-query -W "-f=\${source:Package} (= \${source:Version})" "${CMAKE_MATCH_1}"
                  OUTPUT_VARIABLE source RESULT_VARIABLE status ERROR_QUIET)
  if(status EQUAL 0)
    set(${out} "${source}" PARENT_SCOPE)
  endif()
endfunction()

set(MT_BUILT_USING "")
set(MT_STATIC_BUILT_USING "")
find_program(MT_DPKG_QUERY dpkg-query)
if(MT_STATIC_TOOL AND MT_DPKG_QUERY AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
  foreach(mt_archive IN ITEMS libc.a libstdc++.a)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${mt_archive}
                    OUTPUT_VARIABLE mt_archive_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    mt_debian_source(mt_source "${mt_archive_path}")
    if(mt_archive STREQUAL "libc.a")
      set(MT_BUILT_USING "${mt_source}")
    elseif(NOT mt_source STREQUAL "")
      list(APPEND MT_STATIC_BUILT_USING "${mt_source}")
    endif()
  endforeach()
  mt_debian_source(mt_source "${MT_SODIUM_ARCHIVE}")
  list(PREPEND MT_STATIC_BUILT_USING "${mt_source}")
  list(REMOVE_ITEM MT_STATIC_BUILT_USING "")
  list(JOIN MT_STATIC_BUILT_USING ", " MT_STATIC_BUILT_USING)
  # CMake 3.25's DEB generator has no variables for these fields, but writes the Source field as
  # given: the two fields follow it on lines of their own.
  set(CPACK_DEBIAN_PACKAGE_SOURCE "messages-tool")
  if(NOT MT_BUILT_USING STREQUAL "")
    string(APPEND CPACK_DEBIAN_PACKAGE_SOURCE "\nBuilt-Using: ${MT_BUILT_USING}")
  endif()
  if(NOT MT_STATIC_BUILT_USING STREQUAL "")
    string(APPEND CPACK_DEBIAN_PACKAGE_SOURCE "\nStatic-Built-Using: ${MT_STATIC_BUILT_USING}")
  endif()
endif()

include(CPack)
