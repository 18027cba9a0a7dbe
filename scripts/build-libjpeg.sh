#!/usr/bin/env bash
# Cross-builds libjpeg (Debian's libjpeg-turbo source package) as a static
# library for one MinGW preset: scripts/build-libjpeg.sh <preset>
set -euo pipefail

preset=$1
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$root/build/deps
prefix=$deps/$preset
[ -f "$prefix/.done" ] && exit 0

case $preset in
  win64) toolchain=$root/cmake/mingw-x86_64.cmake ;;
  win32) toolchain=$root/cmake/mingw-i686.cmake ;;
  *) echo "no libjpeg for preset $preset" >&2; exit 1 ;;
esac

src_list=/etc/apt/sources.list.d/build-deb-src.sources
if ! ls "$deps"/src/libjpeg-turbo-*/CMakeLists.txt >/dev/null 2>&1; then
  if ! apt-cache showsrc libjpeg-turbo >/dev/null 2>&1 || [ -z "$(apt-cache showsrc libjpeg-turbo 2>/dev/null)" ]; then
    . /etc/os-release
    cat > "$src_list" <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $VERSION_CODENAME
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    apt-get update -qq
  fi
  mkdir -p "$deps/src"
  (cd "$deps/src" && apt-get source -qq libjpeg-turbo >/dev/null 2>&1)
fi
src=$(ls -d "$deps"/src/libjpeg-turbo-*/ | head -n 1)

cmake -S "$src" -B "$deps/build-$preset" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -Wno-dev >/dev/null
cmake --build "$deps/build-$preset" --target install >/dev/null
touch "$prefix/.done"
