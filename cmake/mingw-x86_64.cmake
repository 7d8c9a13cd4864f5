# Cross build for 64-bit Windows hosts with Debian's mingw-w64 toolchain.
# SSE2 is the x86_64 baseline, so the global -msse2 -mfpmath=sse only states
# the default here; -ffp-contract=off still matters (no fused multiply-add).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOVRA_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
