# Cross toolchain for the handheld's kind of processor, an ARM9 core
# (ARMv5TE) without a floating-point unit: Debian's arm-linux-gnueabi
# compilers (armel, soft-float EABI), the SDL and GoogleTest packages unpacked
# into a sysroot of the build's own, and qemu's ARM926EJ-S to run what was
# built. scripts/cross-armel fills the sysroot and passes OG_ARMEL_SYSROOT.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_LIBRARY_ARCHITECTURE arm-linux-gnueabi)
set(CMAKE_C_COMPILER arm-linux-gnueabi-gcc)
set(CMAKE_CXX_COMPILER arm-linux-gnueabi-g++)

if(NOT OG_ARMEL_SYSROOT)
  get_filename_component(OG_ARMEL_SYSROOT "${CMAKE_CURRENT_LIST_DIR}/../.armel-sysroot" ABSOLUTE)
endif()
set(OG_ARMEL_SYSROOT "${OG_ARMEL_SYSROOT}" CACHE PATH "Unpacked armel packages")
# try_compile projects re-read this file; let them see the sysroot too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES OG_ARMEL_SYSROOT)

# Debian's armel compiler defaults to this already; naming it keeps the build
# on the console's instruction set and float ABI whatever the default becomes.
set(_og_cpu "-march=armv5te -mfloat-abi=soft")
# The compiler keeps its own C library (Debian's libc6-armel-cross); the
# sysroot adds the SDL and GoogleTest headers and libraries after it, and
# everything the SDL libraries themselves link against.
set(_og_arch_lib "${OG_ARMEL_SYSROOT}/usr/lib/arm-linux-gnueabi")
set(CMAKE_CXX_FLAGS_INIT
    "${_og_cpu} -idirafter ${OG_ARMEL_SYSROOT}/usr/include -idirafter ${OG_ARMEL_SYSROOT}/usr/include/arm-linux-gnueabi")
set(CMAKE_C_FLAGS_INIT "${CMAKE_CXX_FLAGS_INIT}")
# The linker does not prefix a library's own RUNPATH with the sysroot, so
# PulseAudio's private folder is named here too.
set(CMAKE_EXE_LINKER_FLAGS_INIT "${_og_cpu} -L${_og_arch_lib}")
foreach(_og_dir ${_og_arch_lib} ${_og_arch_lib}/pulseaudio ${OG_ARMEL_SYSROOT}/lib/arm-linux-gnueabi)
  string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,-rpath-link,${_og_dir}")
endforeach()

set(CMAKE_FIND_ROOT_PATH "${OG_ARMEL_SYSROOT}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the sysroot's .pc files and prefixes their paths.
set(ENV{PKG_CONFIG_SYSROOT_DIR} "${OG_ARMEL_SYSROOT}")
set(ENV{PKG_CONFIG_LIBDIR} "${_og_arch_lib}/pkgconfig:${OG_ARMEL_SYSROOT}/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# Test discovery at build time, ctest and the script by which the tests start
# the game (CMakeLists.txt) run the ARM binaries through this: an ARM926EJ-S,
# an ARMv5TE core like the consoles', on which an instruction of a later
# architecture stops the test with an illegal instruction.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-arm -cpu arm926 -L "${OG_ARMEL_SYSROOT}")

# The handheld's build: its pad numbering, its pacing and its joystick rules.
set(OG_CONSOLE ON CACHE BOOL "The handheld's own build")
