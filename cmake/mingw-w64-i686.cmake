# Cross-builds Pontax.exe for 32-bit Windows, as it ships, with Debian's MinGW-w64.
set(MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
