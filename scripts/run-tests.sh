#!/usr/bin/env bash
# Runs every test: the native units under the sanitizers, the win64 build
# under Wine, a bounded run of each fuzz target and the check of what the
# win32 programs import, as one ctest run with one summary. Arguments go to
# ctest: scripts/run-tests.sh -R unit_monitor runs that program alone.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export WL_ROOT=$root

# Every preset's tests, or none: a preset whose folder is missing or holds no
# tests would otherwise drop out of the run and leave it green.
presets=(native win64 fuzz win32)
for preset in "${presets[@]}"; do
  count=$(ctest --test-dir "build/$preset" -N 2>/dev/null | sed -n 's/^Total Tests: //p' || true)
  if [ "${count:-0}" -eq 0 ]; then
    echo "run-tests: build/$preset holds no tests; build every preset first (make build)" >&2
    exit 1
  fi
done

. scripts/wine-env.sh
trap wine_env_stop EXIT
trap "exit 130" INT TERM
wine_env_start
# The booted prefix, saved and copied while no test runs: each window test
# program runs in a copy of its own (scripts/own-desktop.sh).
export WL_PREFIX_TEMPLATE=$root/build/win64/prefix-template
"$WINESERVER" -k >/dev/null 2>&1 </dev/null
"$WINESERVER" -w >/dev/null 2>&1 </dev/null
wine_prefix_clone "$WINEPREFIX" "$WL_PREFIX_TEMPLATE"
rm -rf "$root/build/win64/prefixes"
"$WINESERVER" -p >/dev/null 2>&1 </dev/null
"$WINELOADER" wineboot >/dev/null 2>&1 </dev/null

# Screenshot tests write BMP files here (a Windows path: Wine maps / to Z:).
shots=$root/build/screenshots
rm -rf "$shots"
mkdir -p "$shots"
export WL_SCREENSHOT_DIR="Z:${shots//\//\\}"

printf 'subdirs(%s)\n' "$(printf '"%s" ' "${presets[@]}")" > build/CTestTestfile.cmake
status=0
ctest --test-dir build --output-on-failure --no-tests=error --timeout 300 -j "$(nproc)" "$@" ||
  status=$?

# PNG copies of the screenshots, to look at
for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] && /usr/bin/convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
exit $status
