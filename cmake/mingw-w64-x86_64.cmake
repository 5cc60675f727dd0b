# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the POSIX-threads flavour, so
# std::thread and std::mutex work as on Linux).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUORLANE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUORLANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORLANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORLANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORLANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program stands alone: the compiler's runtime (libstdc++, libgcc, winpthread) is linked
# in, so nothing beyond Windows' own libraries has to ship beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
