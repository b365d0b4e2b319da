# Cross build for Linux on 64-bit Arm with Debian's cross compiler and the arm64 packages of
# libsodium and GoogleTest (scripts/bootstrap --arm64 installs them). The programs run under
# qemu-user, called by CTest and by the end-to-end test; no binfmt handler is involved.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

# Dynamic test programs need the arm64 loader and libraries, which Debian keeps under this prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu)

# pkg-config reads the arm64 descriptions only.
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig")
