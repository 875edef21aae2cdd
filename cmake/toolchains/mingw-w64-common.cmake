# Shared part of the MinGW-w64 toolchain files; COLORLINES_MINGW_TRIPLE and
# CMAKE_SYSTEM_PROCESSOR are set by the file that includes this one.
set(CMAKE_SYSTEM_NAME Windows)

# Debian installs each compiler as <triple>-g++ (an alternative pointing at the -win32
# or -posix thread model). The saver uses no threads, so either will do; a packager can
# still pick one by passing CMAKE_CXX_COMPILER.
if(NOT CMAKE_C_COMPILER)
  set(CMAKE_C_COMPILER ${COLORLINES_MINGW_TRIPLE}-gcc)
endif()
if(NOT CMAKE_CXX_COMPILER)
  set(CMAKE_CXX_COMPILER ${COLORLINES_MINGW_TRIPLE}-g++)
endif()
if(NOT CMAKE_RC_COMPILER)
  set(CMAKE_RC_COMPILER ${COLORLINES_MINGW_TRIPLE}-windres)
endif()

# Headers and libraries come from the target's sysroot only; build tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${COLORLINES_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# try_compile projects (the screen-saver library check among them) must see the triple.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES COLORLINES_MINGW_TRIPLE)
