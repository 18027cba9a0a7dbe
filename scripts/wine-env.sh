# Sourced: a fresh Wine prefix in the build folder, a persistent Wine server and
# a virtual display for this shell; wine_env_stop ends them.
# Wine's background processes inherit stdout/stderr: keep them off any pipe.
WL_ROOT=${WL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
export WINEPREFIX=$WL_ROOT/build/win64/wineprefix
export WINEDEBUG=-all
# no downloads of Wine's Mono or Gecko in a fresh prefix
export WINEDLLOVERRIDES="mscoree,mshtml="

# A virtual display, unless asked to keep the caller's (the demo on a desktop).
wine_display_start() {
  if [ -z "${WL_KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
    # Xvfb picks a free display itself and names it on fd 3 (a file, never a
    # pipe): two runs starting at once never share one.
    local numfile n
    numfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
    WL_XVFB_PID=$!
    for _ in $(seq 100); do [ -s "$numfile" ] && break; sleep 0.1; done
    n=$(head -n 1 "$numfile")
    rm -f "$numfile"
    [ -n "$n" ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$n"
  fi
}

# The window tests' mouse and keyboard (tests/tools/xtestd.c), on the virtual
# display this shell started and never on one it was given: whoever reaches the
# input server types and clicks there. Only the test it serves reaches it: it
# asks for a secret, which it writes into a file in DIR, a directory made here
# for this user alone; WL_XTESTD_FILE names that file to the Windows side.
#   wine_input_start DIR
wine_input_start() {
  local dir=$1 file=$1/xtestd
  [ -n "${WL_XVFB_PID:-}" ] || { echo "no virtual display for the input server" >&2; return 1; }
  rm -rf "$dir"
  mkdir -m 0700 "$dir" || return 1
  "$WL_ROOT/build/native/bin/xtestd" "$file" </dev/null >/dev/null 2>&1 &
  WL_XTESTD_PID=$!
  for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.05; done
  [ -s "$file" ] || { echo "the input server did not start" >&2; return 1; }
  export WL_XTESTD_FILE="Z:${file//\//\\}"
}

wine_env_start() {
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wine_display_start || return 1
  "$WINESERVER" -p >/dev/null 2>&1 </dev/null
  "$WINELOADER" wineboot -i >/dev/null 2>&1 </dev/null
  # Xvfb has no window manager: unmanaged windows, or hiding an active window
  # waits 2 s for one. Set before the restart below, so that the desktop and
  # tray process starts with it too.
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
  # The first boot of a prefix leaves two service managers running, and service
  # requests reach either at random: restart the server and boot once more.
  "$WINESERVER" -k >/dev/null 2>&1 </dev/null
  "$WINESERVER" -p >/dev/null 2>&1 </dev/null
  "$WINELOADER" wineboot >/dev/null 2>&1 </dev/null
}

# A copy of a booted prefix whose server has saved it: wine_prefix_clone FROM TO.
# Wine's own programs and libraries (most of its size) are shared by hard links,
# which no test writes to; the rest is copied.
wine_prefix_clone() {
  local from=$1 to=$2 big='drive_c/windows/(system32|syswow64|winsxs)/'
  rm -rf "$to"
  mkdir -p "$(dirname "$to")"
  cp -al "$from" "$to" || return 1
  (cd "$from" && find . -type f -print0) | while IFS= read -r -d '' f; do
    [[ $f =~ $big ]] || cp --remove-destination -p "$from/$f" "$to/$f" || return 1
  done
}

wine_env_stop() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "${WL_XTESTD_PID:-}" ] && kill "$WL_XTESTD_PID" 2>/dev/null || true
  [ -n "${WL_XVFB_PID:-}" ] && kill "$WL_XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
}
