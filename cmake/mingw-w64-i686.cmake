# Cross-compiling for 32-bit (x86) Windows with Debian's mingw-w64:
#
#     cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake ...
#
# The same program runs on 32-bit Windows, through WoW64 on 64-bit Windows
# and through emulation on Windows on Arm. What both Windows builds share is
# in cmake/mingw-w64.cmake.

set(CMAKE_SYSTEM_PROCESSOR i686)
set(KALVETOR_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
