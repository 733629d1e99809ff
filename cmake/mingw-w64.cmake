# What both Windows cross builds share: mingw-w64 with the -win32 threading model, whose
# runtime calls Windows directly, so no threads library (winpthread, about 30 KB) is linked
# into the exe. Its library has no std::mutex; GoogleTest gets the one class it needs from
# tests/support/GTestNotification.h. The two toolchain files beside this one name the target
# (LANVORA_MINGW_TRIPLE, CMAKE_SYSTEM_PROCESSOR) and include it.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${LANVORA_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${LANVORA_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER  ${LANVORA_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LANVORA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained exe: libgcc and libstdc++ linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
