# Cross build for 32-bit Windows hosts with Debian's mingw-w64 toolchain.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOVRA_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
