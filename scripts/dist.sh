#!/usr/bin/env bash
# Builds the plug-ins and packs one archive per platform into out/dist/:
#   tovra-<version>-win32.zip            32-bit Windows DLLs
#   tovra-<version>-win64.zip            64-bit Windows DLLs
#   tovra-<version>-linux-x86_64.tar.gz  Linux x86_64 shared libraries
# Each holds a folder tovra-<version>-<platform>/ with both editions and
# INSTALL.txt (docs/INSTALL.txt, with CRLF line ends in the zips). The
# version is the project's (top-level CMakeLists.txt). Archives are
# reproducible: sorted entries, fixed owner and the last commit's time.
#   TOVRA_DIST_NO_BUILD=1 packs what is built without building first.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
umask 022

if [ "${TOVRA_DIST_NO_BUILD:-0}" != 1 ]; then
  "$root/scripts/setup.sh"
  "$root/scripts/build.sh" all
fi

version="$(sed -n 's/^project(Tovra VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)"
if [ -z "$version" ]; then
  echo "dist: no version in CMakeLists.txt's project()" >&2
  exit 1
fi
epoch="$(git log -1 --format=%ct 2>/dev/null || echo 0)"
out="$root/out/dist"
mkdir -p "$out"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT

# pack PLATFORM BUILD_DIR SUFFIX DESCRIPTION
pack() {
  local platform="$1" dir="$2" suffix="$3" description="$4"
  local name="tovra-$version-$platform"
  local folder="$stage/$name"
  local vesk="Tovra Vesk.$suffix" brin="Tovra Brin.$suffix"
  mkdir -p "$folder"
  for file in "$vesk" "$brin"; do
    if [ ! -f "$dir/plugins/$file" ]; then
      echo "dist: $dir/plugins/$file is missing (build it with scripts/build.sh)" >&2
      exit 1
    fi
    install -m 0755 "$dir/plugins/$file" "$folder/$file"
  done
  sed -e "s|@VERSION@|$version|g" -e "s|@PLATFORM@|$description|g" \
      -e "s|@VESK@|$vesk|g" -e "s|@BRIN@|$brin|g" docs/INSTALL.txt > "$folder/INSTALL.txt"
  chmod 0644 "$folder/INSTALL.txt"
  find "$folder" -exec touch -h -d "@$epoch" {} +

  local archive temp
  if [ "$suffix" = dll ]; then
    archive="$out/$name.zip"
    temp="$stage/$name.zip"
    # -X: no extra file attributes; -l on the note only: CRLF for Windows.
    (cd "$stage" && zip -q -X -D "$temp" "$name/$brin" "$name/$vesk" \
      && zip -q -X -D -l "$temp" "$name/INSTALL.txt")
  else
    archive="$out/$name.tar.gz"
    temp="$stage/$name.tar.gz"
    tar -C "$stage" --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$epoch" \
      -cf - "$name" | gzip -n -9 > "$temp"
  fi
  mv -f "$temp" "$archive"
  echo "dist: $archive ($(stat -c %s "$archive") bytes)"
}

pack win32 build/win32 dll "32-bit Windows (i686)"
pack win64 build/win64 dll "64-bit Windows (x86_64)"
pack linux-x86_64 build/native so "Linux x86_64"
