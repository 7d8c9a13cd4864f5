# Cross build for 64-bit Windows hosts with Debian's mingw-w64 toolchain.
# SSE2 is the x86_64 baseline, so the global -msse2 -mfpmath=sse only states
# the default here; -ffp-contract=off still matters (no fused multiply-add).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOVRA_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model, as in the 32-bit build: GoogleTest needs std::mutex
# and std::condition_variable, which the win32 thread model's libstdc++ lacks.
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
