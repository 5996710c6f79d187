# Cross-builds Corvadin for Windows with the mingw-w64 posix-thread compilers (GoogleTest needs std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CORVADIN_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${CORVADIN_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CORVADIN_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${CORVADIN_TRIPLE}-windres)

# Look for libraries and headers only in the mingw sysroot, never among the host's.
set(CMAKE_FIND_ROOT_PATH /usr/${CORVADIN_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
