# Cross toolchain for 32-bit ARM (armhf): Debian's arm-linux-gnueabihf
# compilers, the SDL and GoogleTest packages unpacked into a sysroot of the
# build's own, and qemu's user-mode emulation to run what was built.
# scripts/cross-armhf fills the sysroot and passes OG_ARMHF_SYSROOT.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_LIBRARY_ARCHITECTURE arm-linux-gnueabihf)
set(CMAKE_C_COMPILER arm-linux-gnueabihf-gcc)
set(CMAKE_CXX_COMPILER arm-linux-gnueabihf-g++)

if(NOT OG_ARMHF_SYSROOT)
  get_filename_component(OG_ARMHF_SYSROOT "${CMAKE_CURRENT_LIST_DIR}/../.armhf-sysroot" ABSOLUTE)
endif()
set(OG_ARMHF_SYSROOT "${OG_ARMHF_SYSROOT}" CACHE PATH "Unpacked armhf packages")
# try_compile projects re-read this file; let them see the sysroot too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES OG_ARMHF_SYSROOT)

# The compiler keeps its own C library (Debian's libc6-armhf-cross); the
# sysroot adds the SDL and GoogleTest headers and libraries after it, and
# everything the SDL libraries themselves link against.
set(_og_arch_lib "${OG_ARMHF_SYSROOT}/usr/lib/arm-linux-gnueabihf")
set(CMAKE_CXX_FLAGS_INIT
    "-idirafter ${OG_ARMHF_SYSROOT}/usr/include -idirafter ${OG_ARMHF_SYSROOT}/usr/include/arm-linux-gnueabihf")
set(CMAKE_C_FLAGS_INIT "${CMAKE_CXX_FLAGS_INIT}")
# The linker does not prefix a library's own RUNPATH with the sysroot, so
# PulseAudio's private folder is named here too.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-L${_og_arch_lib}")
foreach(_og_dir ${_og_arch_lib} ${_og_arch_lib}/pulseaudio ${OG_ARMHF_SYSROOT}/lib/arm-linux-gnueabihf)
  string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,-rpath-link,${_og_dir}")
endforeach()

set(CMAKE_FIND_ROOT_PATH "${OG_ARMHF_SYSROOT}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the sysroot's .pc files and prefixes their paths.
set(ENV{PKG_CONFIG_SYSROOT_DIR} "${OG_ARMHF_SYSROOT}")
set(ENV{PKG_CONFIG_LIBDIR} "${_og_arch_lib}/pkgconfig:${OG_ARMHF_SYSROOT}/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# Test discovery at build time, ctest and the script by which the tests start
# the game (CMakeLists.txt) run the ARM binaries through this.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-arm -L "${OG_ARMHF_SYSROOT}")

# The handheld's build: joystick 0 is the console's own pad, read with its
# own button numbers.
set(OG_CONSOLE ON CACHE BOOL "The handheld's own build")
