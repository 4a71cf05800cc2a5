# Cross build of the same sources as a 64-bit Windows program (MinGW-w64, posix threads, which
# GoogleTest needs). The product is the i686 build; this one keeps the code 64-bit clean and
# runs the Windows tests under Wine's 64-bit loader on machines that cannot run 32-bit programs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Debian's wine wrapper prefers the 32-bit loader whenever wine32 is installed; name the 64-bit
# one (scripts/wine-ctest.sh sets WINELOADER to it).
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
# Packages come from the MinGW tree only: the host's GoogleTest is built for Linux.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
