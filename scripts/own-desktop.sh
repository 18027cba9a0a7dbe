#!/usr/bin/env bash
# Runs a window test program under Wine on a virtual display, input server and
# Wine server of its own, in a copy of the test run's booted prefix
# (WL_PREFIX_TEMPLATE, which scripts/run-tests.sh makes): no other test
# program's windows, tray or service host share its desktop and take its focus,
# and the window test programs can run side by side.
#   scripts/own-desktop.sh <program.exe> [arguments]
set -uo pipefail

# However the run ends, ctest's SIGKILL at the time limit included (no trap runs
# then), nothing of it outlives it: the script runs as the first process of a PID
# namespace of its own, and when that process ends the kernel kills every process
# left in the namespace. Ending the script's children would not do: Wine's server
# and services leave their parents as they start. The namespace has its own /proc,
# through which Wine's server reads and writes the memory of its processes.
if [ $$ -ne 1 ]; then
  if ! unshare --pid --fork --kill-child --mount-proc true 2>/dev/null; then
    echo "own-desktop.sh: no PID namespace can be made here (unshare --pid needs root);" \
      "without one a window test program ended at its time limit leaves Wine running" >&2
    exit 1
  fi
  exec unshare --pid --fork --kill-child --mount-proc -- "$0" "$@"
fi

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
