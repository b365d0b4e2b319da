# Toolchain for the WebAssembly build of the draft checker: Debian's clang-19 for wasm32-wasi
# with the wasm32 libc++ and wasi-libc (scripts/bootstrap --wasm). No Emscripten.
set(CMAKE_SYSTEM_NAME WASI)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
# Platform/WASI.cmake, which CMake does not have before 3.31.
list(APPEND CMAKE_MODULE_PATH "${CMAKE_CURRENT_LIST_DIR}")

set(CMAKE_CXX_COMPILER clang++-19)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
# The wasm32 libc++ is built without exceptions; WebAssembly SIMD lowers the reader's 16-byte
# lanes to v128 instructions (every browser of the last years has it).
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions -msimd128")

# Debian installs the wasm32 headers and libraries under /usr in multiarch folders, so
# find_package finds header-only packages (fast_float) where the native build does.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
