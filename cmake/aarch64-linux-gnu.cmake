# Cross build for Linux on 64-bit Arm with Debian's cross compiler and the arm64 packages of
# libsodium and GoogleTest (scripts/bootstrap --arm64 installs them). The programs run under
# qemu-user, called by CTest and by the end-to-end test; no binfmt handler is involved.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

# Dynamic test programs need the arm64 loader and libraries, which Debian's cross compiler keeps
# under this prefix. The C library must be the one of that loader: libsodium's arm64 package also
# brings a C library (in /lib/aarch64-linux-gnu, named by the system's loader cache), and when the
# two packages' versions part, that library under this loader starts no thread (it spins for ever).
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu -E LD_LIBRARY_PATH=/usr/aarch64-linux-gnu/lib)

# pkg-config reads the arm64 descriptions only.
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig")
