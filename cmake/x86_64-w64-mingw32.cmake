# Cross build for 64-bit Windows, from the same code: for 64-bit Windows only, and for the
# hosts whose kernel runs no 32-bit program (their Wine runs only 64-bit programs).
set(LANVORA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
