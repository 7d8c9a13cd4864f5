#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# native unit tests and the Linux plug-ins (Release and sanitizer builds),
# and the 32- and 64-bit Windows builds' tests under wine inside a virtual X
# display.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
"$root/scripts/setup.sh" || exit 1
TOVRA_ASAN=1 "$root/scripts/build.sh" all || exit 1
"$root/scripts/wine-prefix" || exit 1

status=0
summary=()
passed=0
failed=0
run_ctest() { # label dir [wrapper...]
  local label="$1" dir="$2"; shift 2
  echo "=== $label tests"
  local log="$dir/ctest-summary.log"
  "$@" ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  [ "$rc" -eq 0 ] || status=1
  local line
  line="$(grep -E 'tests passed' "$log" | tail -n1)"
  summary+=("$label: ${line:-no test summary (the suite did not run)}")
  if [[ "$line" =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
    failed=$((failed + BASH_REMATCH[1]))
    passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
  else
    status=1
  fi
}

run_ctest native build/native
run_ctest sanitizer build/asan
run_ctest win32 build/win32 xvfb-run -a -s "-screen 0 1280x1024x24"
run_ctest win64 build/win64 xvfb-run -a -s "-screen 0 1280x1024x24"

echo "=== summary"
printf '%s\n' "${summary[@]}"
echo "total: $passed passed, $failed failed"
exit $status
