# Cross-compiling the 32-bit Windows screen saver with MinGW-w64 (Debian:
# g++-mingw-w64-i686). Used by the windows-32 preset. The processor name matters:
# CompilerFlags.cmake turns on SSE2 arithmetic for i[3-6]86, without which the x87 unit
# would round the moving points differently from every other build.
set(COLORLINES_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
