#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; skips what is there.
set -euo pipefail

packages=(
  make cmake ninja-build g++ git dpkg-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686
  wine64 libwine xvfb x11-apps imagemagick libx11-dev libxtst-dev
  fonts-wine fontconfig
  googletest
  clang libclang-rt-14-dev llvm-14
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine's own fonts (Marlett draws the caption buttons; without it each close button is the
# letter "r"). This Wine looks for them under Z:\usr\share\wine\..\fonts, a path its file
# lookup refuses, so they reach it through fontconfig, as the system's fonts do.
wine_fonts=/etc/fonts/conf.d/09-wine-fonts.conf
if [ ! -f "$wine_fonts" ]; then
  cat > "$wine_fonts" <<'XML'
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/wine/fonts</dir>
</fontconfig>
XML
  fc-cache /usr/share/wine/fonts
fi
