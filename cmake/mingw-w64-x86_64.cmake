# Cross build of the Windows program with Debian's MinGW-w64 toolchain for x86_64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KALVORIN_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
