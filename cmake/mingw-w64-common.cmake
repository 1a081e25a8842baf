# The part of a MinGW-w64 cross build that is the same for every processor;
# the toolchain file sets CMAKE_SYSTEM_PROCESSOR and KALVORIN_MINGW_TRIPLE
# first. The win32-threads compilers are preferred: the program has one
# thread and needs no winpthread DLL.
set(CMAKE_SYSTEM_NAME Windows)

find_program(CMAKE_CXX_COMPILER NAMES ${KALVORIN_MINGW_TRIPLE}-g++-win32 ${KALVORIN_MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${KALVORIN_MINGW_TRIPLE}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${KALVORIN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
