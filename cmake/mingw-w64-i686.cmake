# Cross build of the Windows program with Debian's MinGW-w64 toolchain for i686.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KALVORIN_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
