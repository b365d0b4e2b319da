# The VS Code extension (editors/vscode/) as build/<preset>/vscode-extension/messages-lint.vsix,
# installed under share/messages-tool/. It carries the language server compiled to WebAssembly,
# taken from the WebAssembly build of cmake/web_page.cmake (MT_LSP_WASM_DIR):
#   dist/extension.js   the desktop's extension (Node), with VS Code's language client
#   dist/browser.js     VS Code for the Web's extension, with the browser's language client
#   dist/lsp-worker.js  the server in a Web Worker, the module inside
#   server/             the launcher over standard input and output (its host inside) and the module
# The scripts are bundled by Debian's esbuild (no node_modules in the package), packaged by
# @vscode/vsce from package-lock.json, then rewritten with fixed times and order so two builds
# are identical. Needs Node.js, npm and esbuild (scripts/bootstrap --wasm).
if(NOT MT_WEB_PAGE OR NOT DEFINED MT_LSP_WASM_DIR)
  message(FATAL_ERROR "MT_VSCODE_EXTENSION needs MT_WEB_PAGE: the .vsix carries the language server from the "
                      "WebAssembly build of cmake/web_page.cmake (configure with -DMT_WEB_PAGE=ON)")
endif()
include(GNUInstallDirs)

find_program(MT_VSIX_NODE NAMES node nodejs REQUIRED)
find_program(MT_VSIX_ESBUILD esbuild REQUIRED)

set(mt_vsix "${PROJECT_BINARY_DIR}/vscode-extension")
set(mt_vsix_source "${PROJECT_SOURCE_DIR}/editors/vscode")
# The npm packages exactly as locked: the page's build installed them from the same
# package-lock.json (web/CMakeLists.txt), and a link to them beside the extension's scripts lets
# esbuild resolve every import inside the build directory.
# (The stamp stands for the link: a build tool makes the folders of an output before its command.)
add_custom_command(
  OUTPUT "${mt_vsix}/node_modules.linked"
  COMMAND "${CMAKE_COMMAND}" -E create_symlink "${mt_web_build}/web/node_modules" "${mt_vsix}/node_modules"
  COMMAND "${CMAKE_COMMAND}" -E touch "${mt_vsix}/node_modules.linked"
  DEPENDS "${PROJECT_SOURCE_DIR}/package.json" "${PROJECT_SOURCE_DIR}/package-lock.json" web_page
  COMMENT "the page build's npm packages for the VS Code extension")

# The manifest with the project's one version (CMakeLists.txt): the source names it @PROJECT_VERSION@.
configure_file("${mt_vsix_source}/package.json" "${mt_vsix}/package.json" @ONLY)

# The folder vsce packages: the manifest, the read-me, the licence, the two bundled scripts and
# the server's files as the WebAssembly build made them.
set(mt_vsix_stage "${mt_vsix}/extension")
set(mt_vsix_scripts extension.js browser.js activation.js server_choice.js)
list(TRANSFORM mt_vsix_scripts PREPEND "${mt_vsix_source}/" OUTPUT_VARIABLE mt_vsix_script_sources)
set(mt_lsp_server_files messages-lint-lsp.mjs messages-lint-lsp.wasm)
list(TRANSFORM mt_lsp_server_files PREPEND "${MT_LSP_WASM_DIR}/" OUTPUT_VARIABLE mt_lsp_server_inputs)
set(mt_vsix_outputs "${mt_vsix_stage}/dist/extension.js" "${mt_vsix_stage}/dist/browser.js"
                    "${mt_vsix_stage}/dist/lsp-worker.js")
foreach(file IN LISTS mt_lsp_server_files)
  list(APPEND mt_vsix_outputs "${mt_vsix_stage}/server/${file}")
endforeach()
set(mt_esbuild_extension --bundle --format=cjs --external:vscode --minify --charset=utf8 --legal-comments=eof
                         --log-level=warning)
add_custom_command(
  OUTPUT ${mt_vsix_outputs} "${mt_vsix}/inputs.json" "${mt_vsix}/inputs-browser.json"
  COMMAND "${CMAKE_COMMAND}" -E rm -rf "${mt_vsix_stage}"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${mt_vsix_stage}/dist" "${mt_vsix_stage}/server" "${mt_vsix}/src"
  COMMAND "${CMAKE_COMMAND}" -E copy ${mt_vsix_script_sources} "${mt_vsix}/src"
  COMMAND "${CMAKE_COMMAND}" -E copy "${mt_vsix}/package.json" "${mt_vsix_source}/README.md" "${mt_vsix_stage}"
  COMMAND "${CMAKE_COMMAND}" -E copy "${PROJECT_SOURCE_DIR}/doc/copyright" "${mt_vsix_stage}/LICENSE.txt"
  COMMAND "${CMAKE_COMMAND}" -E copy "${MT_LSP_WASM_DIR}/lsp-worker.js" "${mt_vsix_stage}/dist"
  COMMAND "${CMAKE_COMMAND}" -E copy ${mt_lsp_server_inputs} "${mt_vsix_stage}/server"
  COMMAND "${MT_VSIX_ESBUILD}" src/extension.js ${mt_esbuild_extension} --platform=node --target=node16
          "--outfile=${mt_vsix_stage}/dist/extension.js" --metafile=inputs.json
  COMMAND "${MT_VSIX_ESBUILD}" src/browser.js ${mt_esbuild_extension} --platform=browser --target=es2020
          "--outfile=${mt_vsix_stage}/dist/browser.js" --metafile=inputs-browser.json
  DEPENDS ${mt_vsix_script_sources} "${mt_vsix}/package.json" "${mt_vsix_source}/README.md"
          "${PROJECT_SOURCE_DIR}/doc/copyright" "${mt_vsix}/node_modules.linked"
          "${MT_LSP_WASM_DIR}/lsp-worker.js" ${mt_lsp_server_inputs} web_page
  WORKING_DIRECTORY "${mt_vsix}"
  COMMENT "esbuild: the VS Code extension for the desktop and the web, with the WebAssembly server")

# Every bundled npm package must be listed, with its version, in doc/copyright.
add_custom_command(
  OUTPUT "${mt_vsix}/bundled-packages.txt" "${mt_vsix}/bundled-packages-browser.txt"
  COMMAND "${MT_VSIX_NODE}" "${PROJECT_SOURCE_DIR}/web/licences.mjs" "${mt_vsix}/inputs.json" "${mt_vsix}/node_modules"
          "${PROJECT_SOURCE_DIR}/doc/copyright" "${mt_vsix}/bundled-packages.txt"
  COMMAND "${MT_VSIX_NODE}" "${PROJECT_SOURCE_DIR}/web/licences.mjs" "${mt_vsix}/inputs-browser.json"
          "${mt_vsix}/node_modules" "${PROJECT_SOURCE_DIR}/doc/copyright" "${mt_vsix}/bundled-packages-browser.txt"
  DEPENDS "${PROJECT_SOURCE_DIR}/web/licences.mjs" "${mt_vsix}/inputs.json" "${mt_vsix}/inputs-browser.json"
          "${PROJECT_SOURCE_DIR}/doc/copyright"
  COMMENT "doc/copyright lists every package bundled into the VS Code extension")

add_custom_command(
  OUTPUT "${mt_vsix}/messages-lint.vsix"
  COMMAND "${MT_VSIX_NODE}" "${mt_vsix}/node_modules/@vscode/vsce/vsce" package --no-dependencies
          --allow-missing-repository --out "${mt_vsix}/vsce.vsix"
  COMMAND "${MT_VSIX_NODE}" "${mt_vsix_source}/reproducible.mjs" "${mt_vsix}/node_modules" "${mt_vsix}/vsce.vsix"
          "${mt_vsix}/messages-lint.vsix" 2000000
  DEPENDS ${mt_vsix_outputs} "${mt_vsix}/bundled-packages.txt" "${mt_vsix}/bundled-packages-browser.txt"
          "${mt_vsix_source}/reproducible.mjs"
  WORKING_DIRECTORY "${mt_vsix_stage}"
  COMMENT "vsce package: messages-lint.vsix")
add_custom_target(messages-lint-vsix ALL DEPENDS "${mt_vsix}/messages-lint.vsix")

install(FILES "${mt_vsix}/messages-lint.vsix" DESTINATION "${CMAKE_INSTALL_DATADIR}/messages-tool")
