# What the Windows toolchain files share, included by them once they have
# set CMAKE_SYSTEM_PROCESSOR and KALVETOR_MINGW_TRIPLET:
# cmake/mingw-w64-x86_64.cmake (x64) and cmake/mingw-w64-i686.cmake (x86).
# Debian's mingw-w64 with the posix thread model, so std::thread and
# std::mutex exist.
#
# Programs run at build or test time (CTest, gtest discovery) go through
# scripts/wine-run with a Wine prefix of the build tree's own,
# <build>/wineprefix, made on first use.

if(NOT KALVETOR_MINGW_TRIPLET)
    message(FATAL_ERROR "mingw-w64.cmake is not a toolchain file of its own: "
        "use mingw-w64-x86_64.cmake or mingw-w64-i686.cmake")
endif()

set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${KALVETOR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KALVETOR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KALVETOR_MINGW_TRIPLET}-windres)

# Libraries and headers come from the mingw-w64 tree only; programs (the
# build's own tools) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${KALVETOR_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained executable: the C and C++ runtimes and winpthreads are
# linked in, so a program imports nothing but Windows' own DLLs. Made for
# Windows 7 and later: its subsystem and OS versions are Windows 7's (6.1),
# so older Windows refuses to start it rather than fail somewhere inside.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ \
-Wl,--major-subsystem-version,6,--minor-subsystem-version,1,--major-os-version,6,--minor-os-version,1")

# Hardening: the stack protector and fortified C functions, whose checks
# come from GCC's libssp, linked in statically as the runtimes are (-static
# above: the program still imports Windows' DLLs only); ASLR (a relocatable
# image, with 64-bit addresses where there are any) and DEP. The linker of
# Debian 12 sets the last three by default; they are asked for all the same.
# The test win32_hardening checks each in the built program.
set(kalvetor_hardening "-fstack-protector-strong -D_FORTIFY_SOURCE=2")
string(APPEND CMAKE_C_FLAGS_INIT " ${kalvetor_hardening}")
string(APPEND CMAKE_CXX_FLAGS_INIT " ${kalvetor_hardening}")
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--dynamicbase,--nxcompat")
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--high-entropy-va")
endif()

# The same bytes from the same sources, wherever and whenever they are
# built: no build time in the PE header, and the source and build folders
# written as "." and "build" into whatever keeps a path (assertions, debug
# information; of two maps that match, GCC takes the later, so the build
# folder inside the sources comes second).
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--no-insert-timestamp")
get_filename_component(kalvetor_source_dir ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
foreach(language IN ITEMS C CXX)
    string(APPEND CMAKE_${language}_FLAGS_INIT
        " -ffile-prefix-map=${kalvetor_source_dir}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build")
endforeach()

# A program that runs at build or test time runs under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run;${CMAKE_BINARY_DIR}/wineprefix)
