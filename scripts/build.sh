#!/usr/bin/env bash
# Configures (once) and builds the presets: scripts/build.sh [preset...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native win64 win32 fuzz)
for preset in "${presets[@]}"; do
  case $preset in win64|win32) scripts/build-libjpeg.sh "$preset" ;; esac
  [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null
  echo "== building $preset"
  cmake --build "build/$preset"
done
