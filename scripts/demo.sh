#!/usr/bin/env bash
# Runs the monitor under Wine with the stand-in adapter of stand-ins/vyxwl/demo.scn.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
demo=$root/build/demo
bin=$root/build/win64/bin
release=$bin/release  # the same programs without debugging information

mkdir -p "$demo"
# the program, the stand-in, the link information page's clips, settings and strings
cp "$release/Wavelorn.exe" "$release/VYXWL.DLL" "$bin"/*.m "$root/resources/Wavelorn.bin" \
   "$root/resources/Wavelorn.ini" "$demo/"
cp "$root/stand-ins/vyxwl/demo.scn" "$demo/VYXWL.scn"
: > "$demo/Wavelorn.Log"   # the log is written only when the file exists

export WL_ROOT=$root
. "$root/scripts/wine-env.sh"
export WINEPREFIX=$demo/wineprefix
export WL_KEEP_DISPLAY=1
trap wine_env_stop EXIT
trap "exit 130" INT TERM
wine_env_start

cd "$demo"
echo "== Wavelorn.exe /Service: applies the last applied profile and ends"
"$WINELOADER" Wavelorn.exe /Service </dev/null >/dev/null 2>&1
echo "== Wavelorn.exe: the monitor runs in the tray (Ctrl-C ends the demo); its log:"
"$WINELOADER" Wavelorn.exe </dev/null >/dev/null 2>&1 &
# A second start opens the running monitor's window, as a user's second start would.
(sleep 8 && "$WINELOADER" Wavelorn.exe </dev/null >/dev/null 2>&1) &
opener=$!
# Followed in the background and waited for: a signal to this script alone then ends it at
# once. The second start goes first: one made after the Wine server has gone would start a
# server of its own and keep the monitor running.
tail -n +1 -f Wavelorn.Log &
follower=$!
trap 'kill "$opener" "$follower" 2>/dev/null; wine_env_stop' EXIT
wait "$follower"
