# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix).
# The POSIX thread model is the one Qt's std::thread and std::mutex use need.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(WARMLOG_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${WARMLOG_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WARMLOG_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${WARMLOG_MINGW_TRIPLET}-windres)

# Headers and libraries only from the MinGW sysroot (and the prefixes Qt adds); programs such as
# the host's moc, rcc and uic from the build machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${WARMLOG_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Qt's host tools are found as packages outside the sysroot (QT_HOST_PATH).
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
