#!/usr/bin/env bash
# Configures and builds the native and the Windows builds.
#   scripts/build.sh            native Release + win32 cross build
#   scripts/build.sh native     only the native build
#   TOVRA_ASAN=1 adds the sanitizer build (tests only).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
what="${1:-all}"
jobs="${TOVRA_JOBS:-$(nproc)}"

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

if [ "$what" = all ]; then
  configure build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE=Release -DTOVRA_NATIVE_DIR="$root/build/native"
  ninja -C build/win32 -j "$jobs"
fi
