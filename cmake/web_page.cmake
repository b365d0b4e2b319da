# The authors' page and the language server's module for the package: the wasm preset's build of
# web/messages-lint.html and of src/messages-lint/wasm/ (build/<preset>/web-page/lsp/), made as
# an external project inside this build (build/<preset>/web-page), with the same toolchain file
# and settings as `cmake --preset wasm` but without its tests, and installed under
# share/messages-tool/ (the module with its launcher in share/messages-tool/lsp/). Needs
# scripts/bootstrap --wasm. The npm packages are installed with `npm ci --ignore-scripts` inside
# that build, exactly as package-lock.json pins them. MT_LSP_WASM_DIR names the module's folder
# for the VS Code extension (cmake/vscode_extension.cmake).
include(ExternalProject)
include(GNUInstallDirs)

# WebAssembly and JavaScript do not depend on the architecture, and every WebAssembly build of the
# same sources makes the same bytes: a build may take the page and the module from one made
# already (MT_PORTABLE_FILES_FROM: the wasm preset's build directory, or a release build's
# web-page/ folder) instead of making them again.
set(MT_PORTABLE_FILES_FROM "" CACHE PATH
    "A WebAssembly build directory of these sources whose page and language server module are installed instead of made again")
if(MT_PORTABLE_FILES_FROM)
  if(NOT EXISTS "${MT_PORTABLE_FILES_FROM}/CMakeCache.txt")
    message(FATAL_ERROR "MT_PORTABLE_FILES_FROM: ${MT_PORTABLE_FILES_FROM} is no build directory (it has no CMakeCache.txt)")
  endif()
  file(STRINGS "${MT_PORTABLE_FILES_FROM}/CMakeCache.txt" mt_portable_home REGEX "^CMAKE_HOME_DIRECTORY:")
  string(REGEX REPLACE "^[^=]*=" "" mt_portable_home "${mt_portable_home}")
  if(NOT mt_portable_home STREQUAL PROJECT_SOURCE_DIR)
    message(FATAL_ERROR "MT_PORTABLE_FILES_FROM: ${MT_PORTABLE_FILES_FROM} is no build of ${PROJECT_SOURCE_DIR}")
  endif()
  set(mt_web_build "${MT_PORTABLE_FILES_FROM}")
  foreach(file IN ITEMS web/messages-lint.html lsp/messages-lint-lsp.wasm lsp/messages-lint-lsp.mjs lsp/lsp-worker.js)
    if(NOT EXISTS "${mt_web_build}/${file}")
      message(FATAL_ERROR "MT_PORTABLE_FILES_FROM: ${mt_web_build}/${file} is missing: build that directory first")
    endif()
  endforeach()
  add_custom_target(web_page)
else()
  set(mt_web_build "${PROJECT_BINARY_DIR}/web-page")
  ExternalProject_Add(web_page
    SOURCE_DIR "${PROJECT_SOURCE_DIR}"
    BINARY_DIR "${mt_web_build}"
    PREFIX "${PROJECT_BINARY_DIR}/web-page-prefix"
    CMAKE_GENERATOR "${CMAKE_GENERATOR}"
    CMAKE_ARGS
      "--toolchain=${PROJECT_SOURCE_DIR}/cmake/wasm32-wasi.cmake"
      -DCMAKE_BUILD_TYPE=Release
      -DMT_BUILD_TESTS=OFF
      -DMT_WERROR=ON
      -DMT_REPRODUCIBLE=${MT_REPRODUCIBLE}
    BUILD_COMMAND "${CMAKE_COMMAND}" --build "${mt_web_build}" --target messages-lint-page messages-lint-lsp
    INSTALL_COMMAND ""
    # Rebuilt whenever this build is: the inner build knows what changed.
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS "${mt_web_build}/web/messages-lint.html" "${mt_web_build}/lsp/messages-lint-lsp.wasm"
                     "${mt_web_build}/lsp/messages-lint-lsp.mjs" "${mt_web_build}/lsp/lsp-worker.js")
endif()
set(MT_LSP_WASM_DIR "${mt_web_build}/lsp")

install(FILES "${mt_web_build}/web/messages-lint.html" DESTINATION "${CMAKE_INSTALL_DATADIR}/messages-tool")
install(FILES "${MT_LSP_WASM_DIR}/messages-lint-lsp.mjs" "${MT_LSP_WASM_DIR}/messages-lint-lsp.wasm" DESTINATION "${CMAKE_INSTALL_DATADIR}/messages-tool/lsp")
