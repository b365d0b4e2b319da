# The VS Code extension (editors/vscode/) as build/<preset>/vscode-extension/messages-lint.vsix,
# installed under share/messages-tool/: extension.js and VS Code's language client bundled by
# Debian's esbuild into one file (no node_modules in the package), packaged by @vscode/vsce from
# package-lock.json, then rewritten with fixed times and order so two builds are identical.
# Needs Node.js, npm and esbuild (scripts/bootstrap --wasm or --lsp).
include(GNUInstallDirs)

find_program(MT_VSIX_NODE NAMES node nodejs REQUIRED)
find_program(MT_VSIX_NPM npm REQUIRED)
find_program(MT_VSIX_ESBUILD esbuild REQUIRED)

set(mt_vsix "${PROJECT_BINARY_DIR}/vscode-extension")
set(mt_vsix_source "${PROJECT_SOURCE_DIR}/editors/vscode")
# The npm packages exactly as locked, and the extension's script beside them, so esbuild resolves
# every import inside the build directory.
add_custom_command(
  OUTPUT "${mt_vsix}/node_modules/.package-lock.json"
  COMMAND "${CMAKE_COMMAND}" -E copy "${PROJECT_SOURCE_DIR}/package.json" "${PROJECT_SOURCE_DIR}/package-lock.json"
          "${mt_vsix}"
  COMMAND "${MT_VSIX_NPM}" ci --ignore-scripts --no-audit --no-fund --loglevel=error
  DEPENDS "${PROJECT_SOURCE_DIR}/package.json" "${PROJECT_SOURCE_DIR}/package-lock.json"
  WORKING_DIRECTORY "${mt_vsix}"
  COMMENT "npm ci --ignore-scripts for the VS Code extension")

# The folder vsce packages: the manifest, the read-me, the licence and the bundled script.
set(mt_vsix_stage "${mt_vsix}/extension")
add_custom_command(
  OUTPUT "${mt_vsix_stage}/dist/extension.js" "${mt_vsix}/inputs.json"
  COMMAND "${CMAKE_COMMAND}" -E rm -rf "${mt_vsix_stage}"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${mt_vsix_stage}/dist" "${mt_vsix}/src"
  COMMAND "${CMAKE_COMMAND}" -E copy "${mt_vsix_source}/extension.js" "${mt_vsix}/src/extension.js"
  COMMAND "${CMAKE_COMMAND}" -E copy "${mt_vsix_source}/package.json" "${mt_vsix_source}/README.md" "${mt_vsix_stage}"
  COMMAND "${CMAKE_COMMAND}" -E copy "${PROJECT_SOURCE_DIR}/doc/copyright" "${mt_vsix_stage}/LICENSE.txt"
  COMMAND "${MT_VSIX_ESBUILD}" src/extension.js --bundle --platform=node --format=cjs --target=node16 --external:vscode
          --minify --charset=utf8 --legal-comments=eof --log-level=warning "--outfile=${mt_vsix_stage}/dist/extension.js"
          --metafile=inputs.json
  DEPENDS "${mt_vsix_source}/extension.js" "${mt_vsix_source}/package.json" "${mt_vsix_source}/README.md"
          "${PROJECT_SOURCE_DIR}/doc/copyright" "${mt_vsix}/node_modules/.package-lock.json"
  WORKING_DIRECTORY "${mt_vsix}"
  COMMENT "esbuild: the VS Code extension and its language client")

# Every bundled npm package must be listed, with its version, in doc/copyright.
add_custom_command(
  OUTPUT "${mt_vsix}/bundled-packages.txt"
  COMMAND "${MT_VSIX_NODE}" "${PROJECT_SOURCE_DIR}/web/licences.mjs" "${mt_vsix}/inputs.json" "${mt_vsix}/node_modules"
          "${PROJECT_SOURCE_DIR}/doc/copyright" "${mt_vsix}/bundled-packages.txt"
  DEPENDS "${PROJECT_SOURCE_DIR}/web/licences.mjs" "${mt_vsix}/inputs.json" "${PROJECT_SOURCE_DIR}/doc/copyright"
  COMMENT "doc/copyright lists every package bundled into the VS Code extension")

add_custom_command(
  OUTPUT "${mt_vsix}/messages-lint.vsix"
  COMMAND "${MT_VSIX_NODE}" "${mt_vsix}/node_modules/@vscode/vsce/vsce" package --no-dependencies
          --allow-missing-repository --out "${mt_vsix}/vsce.vsix"
  COMMAND "${MT_VSIX_NODE}" "${mt_vsix_source}/reproducible.mjs" "${mt_vsix}/node_modules" "${mt_vsix}/vsce.vsix"
          "${mt_vsix}/messages-lint.vsix"
  DEPENDS "${mt_vsix_stage}/dist/extension.js" "${mt_vsix}/bundled-packages.txt" "${mt_vsix_source}/reproducible.mjs"
  WORKING_DIRECTORY "${mt_vsix_stage}"
  COMMENT "vsce package: messages-lint.vsix")
add_custom_target(messages-lint-vsix ALL DEPENDS "${mt_vsix}/messages-lint.vsix")

install(FILES "${mt_vsix}/messages-lint.vsix" DESTINATION "${CMAKE_INSTALL_DATADIR}/messages-tool")
