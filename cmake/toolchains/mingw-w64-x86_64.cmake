# Cross-compiling the 64-bit Windows screen saver with MinGW-w64 (Debian:
# g++-mingw-w64-x86-64). Used by the windows-64 preset.
set(COLORLINES_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
