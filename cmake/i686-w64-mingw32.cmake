# Cross build for 32-bit Windows with mingw-w64, with the -win32 threading model: its runtime
# calls Windows directly, so no threads library (winpthread, about 30 KB) is linked into the
# exe. Its library has no std::mutex; GoogleTest gets the one class it needs from
# tests/support/GTestNotification.h.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(CMAKE_C_COMPILER   i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER  i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained exe: libgcc and libstdc++ linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
