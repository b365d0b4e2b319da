# What `cmake --install` puts under the prefix, and the guard that runs before any of it.
#
#   bin/messages-tool, bin/messages-lint
#   share/man/man1/messages-tool.1, share/man/man1/messages-lint.1
#   share/messages-tool/messages.schema.json (the feed schema, for editors)
#   share/messages-tool/messages-lint.html (the authors' page, with MT_WEB_PAGE: cmake/web_page.cmake)
#   share/messages-tool/lsp/ (the language server's module and its launcher, with MT_WEB_PAGE)
#   share/messages-tool/messages-lint.vsix (the VS Code extension, with MT_VSCODE_EXTENSION:
#                                           cmake/vscode_extension.cmake)
#   share/doc/messages-tool/  README.md, copyright, pubkey.hex (the key this binary carries),
#                             doc/*.md (the documents the README links to),
#                             examples/messages.json and examples/messages.json.sig
#
# The package (cmake/package.cmake) ships the same files under /usr, with the Debian extras.
# Install and package rules of later programs and data go here too.
include(GNUInstallDirs)

# Directories are made with fixed modes, whatever the umask, so the package is the same everywhere.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The guard comes first, so a refused installation copies nothing. It runs for every component
# and inside cpack, which installs through the same rules into its staging directory; the package
# configuration (cmake/package.cmake) says the same before cpack starts.
set(MT_INSTALL_REFUSAL "")
if(NOT MT_KEY_IS_WELL_FORMED)
  set(MT_INSTALL_REFUSAL "This build's MODELS_PUBKEY_HEX is not 64 hexadecimal digits, so its tool would \
refuse every feed: it is neither installed nor packaged. Configure it again with \
-DMODELS_PUBKEY_HEX=<64 hex digits of the production key>.")
elseif(NOT MT_KEY_SEED_FILE STREQUAL "" AND NOT MT_ALLOW_DEV_KEY)
  set(MT_INSTALL_REFUSAL "This build carries the key of ${MT_KEY_SEED_FILE}, whose private seed is public, \
so it is neither installed nor packaged. Build with the production key \
(-DMODELS_PUBKEY_HEX=<64 hex digits>, or the release preset with MODELS_PUBKEY_HEX in the environment), or \
reconfigure this build with -DMT_ALLOW_DEV_KEY=ON to install or package it on purpose, only to try it out.")
endif()
if(NOT MT_INSTALL_REFUSAL STREQUAL "")
  # The leading blank keeps CMake from wrapping the message: it stays one line.
  install(CODE "message(FATAL_ERROR \" ${MT_INSTALL_REFUSAL}\")" ALL_COMPONENTS)
elseif(NOT MT_KEY_SEED_FILE STREQUAL "")
  install(CODE [[message(WARNING "Installing a build with a repository key (MT_ALLOW_DEV_KEY=ON): it accepts \
feeds that anyone can sign. Do not use it for real feeds.")]] ALL_COMPONENTS)
endif()

set(mt_docdir "${CMAKE_INSTALL_DATADIR}/doc/messages-tool")
# The manual pages, one per program (src/messages-lint installs the draft checker itself). Their
# .TH lines get the version and release date here (cmake/version.cmake); the build's man/
# directory holds exactly these pages, for the package (cmake/deb_staging.cmake) and CI's checks.
set(MT_MAN_PAGES messages-tool.1 messages-lint.1)
foreach(mt_page IN LISTS MT_MAN_PAGES)
  configure_file("${PROJECT_SOURCE_DIR}/doc/${mt_page}" "${PROJECT_BINARY_DIR}/man/${mt_page}" @ONLY)
  install(FILES "${PROJECT_BINARY_DIR}/man/${mt_page}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endforeach()
install(FILES "${PROJECT_SOURCE_DIR}/README.md" "${PROJECT_SOURCE_DIR}/doc/copyright"
              "${PROJECT_BINARY_DIR}/pubkey.hex"
        DESTINATION "${mt_docdir}")
# The README's links lead into doc/, so the documents sit beside it as they do in the sources.
install(FILES "${PROJECT_SOURCE_DIR}/doc/publishing.md" "${PROJECT_SOURCE_DIR}/doc/authors.md"
              "${PROJECT_SOURCE_DIR}/doc/integrations.md" "${PROJECT_SOURCE_DIR}/doc/development.md"
              "${PROJECT_SOURCE_DIR}/doc/feed-format.md" "${PROJECT_SOURCE_DIR}/doc/timeline.png"
        DESTINATION "${mt_docdir}/doc")
install(FILES "${PROJECT_SOURCE_DIR}/examples/messages.json" "${PROJECT_SOURCE_DIR}/examples/messages.json.sig"
        DESTINATION "${mt_docdir}/examples")
# The feed schema, for editors (doc/feed-format.md says how to point them at it).
install(FILES "${PROJECT_SOURCE_DIR}/schema/messages.schema.json" DESTINATION "${CMAKE_INSTALL_DATADIR}/messages-tool")
