#!/usr/bin/env bash
# The main job: installs what is missing, builds both editions and renders
# the built-in test signal through each into out/ as WAV files.
#   scripts/demo.sh [INPUT.wav]   renders INPUT instead of the test signal
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" all
"$root/scripts/wine-prefix"

mkdir -p out
render="$root/build/native/tools/render/tovra-render"
for edition in vesk brin; do
  "$render" --edition "$edition" ${1:+"$1"} "out/tovra-$edition.wav"
  echo "demo: wrote $root/out/tovra-$edition.wav"
done

for dll in "build/win32/plugins/Tovra Vesk.dll" "build/win32/plugins/Tovra Brin.dll"; do
  echo "=== $dll"
  "$root/scripts/wine-run" build/win32/tools/vsthost/vsthost.exe info "$dll"
done
