# What both Windows cross builds share; the toolchain files set
# CMAKE_SYSTEM_PROCESSOR and TOVRA_MINGW_PREFIX, then include this.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: GoogleTest needs std::mutex and std::condition_variable,
# which the win32 thread model's libstdc++ lacks (the runtime is linked statically).
set(CMAKE_C_COMPILER ${TOVRA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOVRA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOVRA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOVRA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Cross-compiled tests run under wine (the test prefix is a 64-bit one, which
# runs both widths).
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run")
