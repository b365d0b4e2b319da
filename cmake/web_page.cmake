# The authors' page for the package: the wasm preset's build of web/messages-lint.html, made as an
# external project inside this build (build/<preset>/web-page), with the same toolchain file and
# settings as `cmake --preset wasm` but without its tests, and installed under
# share/messages-tool/. Needs scripts/bootstrap --wasm. The npm packages are installed with
# `npm ci --ignore-scripts` inside that build, exactly as package-lock.json pins them.
include(ExternalProject)
include(GNUInstallDirs)

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
  BUILD_COMMAND "${CMAKE_COMMAND}" --build "${mt_web_build}" --target messages-lint-page
  INSTALL_COMMAND ""
  # Rebuilt whenever this build is: the inner build knows what changed.
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS "${mt_web_build}/web/messages-lint.html")

install(FILES "${mt_web_build}/web/messages-lint.html" DESTINATION "${CMAKE_INSTALL_DATADIR}/messages-tool")
