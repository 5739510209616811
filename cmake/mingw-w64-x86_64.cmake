# Cross-builds Pontax.exe for 64-bit Windows: the same code, for testing under a wine that cannot
# run 32-bit programs (a kernel without 32-bit support, or no i386 packages to be had).
set(MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
