#!/usr/bin/env bash
# Runs a window test program under Wine on a virtual display, input server and
# Wine server of its own, in a copy of the test run's booted prefix
# (WL_PREFIX_TEMPLATE, which scripts/run-tests.sh makes): no other test
# program's windows, tray or service host share its desktop and take its focus,
# and the window test programs can run side by side.
#   scripts/own-desktop.sh <program.exe> [arguments]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WL_ROOT=$root
. "$root/scripts/wine-env.sh"
template=${WL_PREFIX_TEMPLATE:?run through scripts/run-tests.sh}
program=$1
shift
name=$(basename "$program" .exe)
export WINEPREFIX=$root/build/win64/prefixes/$name
input=$root/build/win64/prefixes/$name.input
trap 'wine_env_stop; rm -rf "$WINEPREFIX" "$input"' EXIT
trap "exit 130" INT TERM
wine_prefix_clone "$template" "$WINEPREFIX" || { echo "no copy of $template" >&2; exit 1; }
unset DISPLAY WL_XTESTD_FILE
wine_display_start || exit 1
wine_input_start "$input" || exit 1
"$WINESERVER" -p >/dev/null 2>&1 </dev/null
"$WINELOADER" wineboot >/dev/null 2>&1 </dev/null
"$WINELOADER" "$program" "$@"
