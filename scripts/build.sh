#!/usr/bin/env bash
# Configures (once) and builds the presets: scripts/build.sh [preset...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native win64 win32 fuzz)
for preset in "${presets[@]}"; do
  fresh=
  case $preset in
    win64|win32)
      scripts/build-libjpeg.sh "$preset"
      # A folder configured with another compiler than its toolchain file names now (the other
      # thread model, say) is configured afresh: CMake keeps the compiler it first found.
      toolchain=cmake/mingw-$([ "$preset" = win32 ] && echo i686 || echo x86_64).cmake
      want=$(sed -n 's/^set(CMAKE_CXX_COMPILER \(.*\))$/\1/p' "$toolchain")
      have=$(cat build/"$preset"/CMakeFiles/*/CMakeCXXCompiler.cmake 2>/dev/null |
             sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' | head -n 1 || true)
      [ -z "$have" ] || [ "$(basename "$have")" = "$want" ] || fresh=--fresh
      ;;
  esac
  if [ ! -f "build/$preset/build.ninja" ] || [ -n "$fresh" ]; then
    cmake --preset "$preset" $fresh >/dev/null
  fi
  echo "== building $preset"
  cmake --build "build/$preset"
done
