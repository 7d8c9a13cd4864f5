#!/usr/bin/env bash
# Configures and builds the native and the Windows builds.
#   scripts/build.sh            native Release + win32 and win64 cross builds
#   scripts/build.sh native     only the native build
#   scripts/build.sh win32      native + the 32-bit Windows build
#   scripts/build.sh win64      native + the 64-bit Windows build
#   TOVRA_ASAN=1 adds the sanitizer build (tests only).
# The native build comes first: the cross builds' parity tests use its tools
# and Linux plug-ins.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
what="${1:-all}"
jobs="${TOVRA_JOBS:-$(nproc)}"
case "$what" in
  all|native|win32|win64) ;;
  *) echo "usage: scripts/build.sh [all|native|win32|win64]" >&2; exit 2 ;;
esac

configure() { # dir args...
  local dir="$1"; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  fi
}

configure build/native -DCMAKE_BUILD_TYPE=Release
ninja -C build/native -j "$jobs"

if [ "${TOVRA_ASAN:-0}" = 1 ]; then
  configure build/asan -DCMAKE_BUILD_TYPE=Debug -DTOVRA_SANITIZE=ON
  ninja -C build/asan -j "$jobs"
fi

if [ "$what" = all ] || [ "$what" = win32 ]; then
  configure build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE=Release -DTOVRA_NATIVE_DIR="$root/build/native"
  ninja -C build/win32 -j "$jobs"
fi

if [ "$what" = all ] || [ "$what" = win64 ]; then
  # Its parity test also renders through the 32-bit DLLs (when they are built).
  configure build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DTOVRA_NATIVE_DIR="$root/build/native" \
    -DTOVRA_WIN32_DIR="$root/build/win32"
  ninja -C build/win64 -j "$jobs"
fi
