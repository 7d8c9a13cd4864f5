# Cross build for 32-bit Windows hosts with Debian's mingw-w64 toolchain.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(TOVRA_MINGW_PREFIX i686-w64-mingw32)
# The posix thread model: GoogleTest needs std::mutex and std::condition_variable,
# which the win32 thread model's libstdc++ lacks (the runtime is linked statically).
set(CMAKE_C_COMPILER ${TOVRA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOVRA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOVRA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOVRA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Cross-compiled tests run under wine.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run")
