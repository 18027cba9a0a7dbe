#!/usr/bin/env bash
# Start-up time, memory and idle cost of the monitor against a bare tray program
# (bench/Bare.cpp), both run under one Wine prefix with a persistent server and a
# desktop process kept alive, started alternately.
#   BENCH_RUNS  launches of each program (7)      BENCH_SETTLE  seconds before memory is read (5)
#   BENCH_IDLE  seconds of idle CPU measured (60)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${BENCH_RUNS:-7}
settle=${BENCH_SETTLE:-5}
idle=${BENCH_IDLE:-60}
bin=$root/build/win64/bin
dir=$root/build/bench
# the programs as shipped, without debugging information; the stopwatch as built
for f in release/Wavelorn.exe release/VYXWL.DLL release/Bare.exe BenchLaunch.exe; do
  [ -f "$bin/$f" ] || { echo "bench: $bin/$f is missing; build win64 first" >&2; exit 1; }
done

rm -rf "$dir"
mkdir -p "$dir"
cp "$bin/release/Wavelorn.exe" "$bin/release/VYXWL.DLL" "$bin/release/Bare.exe" "$bin"/*.m \
   "$bin/BenchLaunch.exe" \
   "$root/resources/Wavelorn.bin" "$root/resources/Wavelorn.ini" "$dir/"
cp "$root/stand-ins/vyxwl/demo.scn" "$dir/VYXWL.scn"

export WL_ROOT=$root
. "$root/scripts/wine-env.sh"
export WINEPREFIX=$dir/wineprefix
trap wine_env_stop EXIT
trap "exit 130" INT TERM
wine_env_start
cd "$dir"
# Wine's desktop process ends a second after the last window; one window outlives every run.
"$WINELOADER" BenchLaunch.exe hold </dev/null >/dev/null 2>&1 &
sleep 1

# The Unix process of a Windows program of this prefix.
unix_pid() {
  local exe=$1 p first
  for p in /proc/[0-9]*; do
    # processes come and go meanwhile
    IFS= read -r -d '' first 2>/dev/null <"$p/cmdline" || continue
    [[ "${first,,}" == *"${exe,,}" ]] || continue
    grep -qxz "WINEPREFIX=$WINEPREFIX" "$p/environ" 2>/dev/null || continue
    echo "${p#/proc/}"
    return 0
  done
  return 1
}
kb() { awk -v k="$2:" '$1 == k {print $2}' "/proc/$1/status"; }
# CPU time (ms, all threads) and context switches (all threads) of a process.
cpu_ms() { awk -v hz="$(getconf CLK_TCK)" '{print ($14 + $15) * 1000 / hz}' "/proc/$1/stat"; }
switches() {
  cat /proc/"$1"/task/*/status 2>/dev/null |
    awk '/^(voluntary|nonvoluntary)_ctxt_switches/ {n += $2} END {print n}'
}

# launch NAME CLASS EXE: one start, measured; leaves the program running, its pids in
# launched_win and launched_unix, its figures appended to results.tsv.
launch() {
  local name=$1 class=$2 exe=$3 out log=- text=-
  if [ "$name" = monitor ]; then
    : >Wavelorn.Log  # the log is written only when the file exists
    log=Wavelorn.Log
    text="detect device"
  fi
  # Into a file: the started program inherits the stopwatch's output, and would hold a pipe open.
  "$WINELOADER" BenchLaunch.exe run "$class" "$log" "$text" 20000 "$exe" </dev/null >launch.out \
    2>/dev/null || true
  out=$(tr -d '\r' <launch.out)
  launched_win=$(sed -n 's/^pid=//p' <<<"$out")
  local window logged
  window=$(sed -n 's/^window_ms=//p' <<<"$out")
  logged=$(sed -n 's/^log_ms=//p' <<<"$out")
  sleep "$settle"
  launched_unix=$(unix_pid "$exe") || { echo "bench: no process of $exe" >&2; exit 1; }
  printf '%s\t%s\t%s\t%s\t%s\n' "$name" "$window" "$logged" "$(kb "$launched_unix" VmRSS)" \
    "$(kb "$launched_unix" RssAnon)" >>results.tsv
}
close() { "$WINELOADER" BenchLaunch.exe close "$1" 10000 </dev/null >/dev/null 2>&1 || true; }

# One start of each first, not counted: the file cache and the prefix's first-use work.
for p in "bare TBareMain Bare.exe" "monitor TFormMain Wavelorn.exe"; do
  set -- $p
  launch "$@" && close "$launched_win"
done
: >results.tsv
for i in $(seq "$runs"); do
  echo "== run $i of $runs"
  launch bare TBareMain Bare.exe && close "$launched_win"
  launch monitor TFormMain Wavelorn.exe && close "$launched_win"
done

echo "== idle: both programs running for ${idle} s"
launch bare TBareMain Bare.exe
bare_win=$launched_win bare_unix=$launched_unix
launch monitor TFormMain Wavelorn.exe
mon_win=$launched_win mon_unix=$launched_unix
sed -i '$d' results.tsv && sed -i '$d' results.tsv  # their start-up is not one of the runs
c0b=$(cpu_ms "$bare_unix") s0b=$(switches "$bare_unix")
c0m=$(cpu_ms "$mon_unix") s0m=$(switches "$mon_unix")
sleep "$idle"
c1b=$(cpu_ms "$bare_unix") s1b=$(switches "$bare_unix")
c1m=$(cpu_ms "$mon_unix") s1m=$(switches "$mon_unix")
close "$mon_win"
close "$bare_win"

python3 - "$idle" "$((c1b - c0b))" "$((s1b - s0b))" "$((c1m - c0m))" "$((s1m - s0m))" <<'PY'
import statistics, sys
idle, cpu_b, sw_b, cpu_m, sw_m = (float(a) for a in sys.argv[1:])
rows = [l.rstrip("\n").split("\t") for l in open("results.tsv") if l.strip()]
cols = {"launch to window (ms)": 1, "launch to \"detect device\" (ms)": 2,
        "VmRSS after settling (MB)": 3, "RssAnon after settling (MB)": 4}
def values(name, col):
    scale = 1 / 1024 if col >= 3 else 1
    return [float(r[col]) * scale for r in rows if r[0] == name and float(r[col]) >= 0]
print(f"{'':34} {'bare min/median/max':>26} {'monitor min/median/max':>26} {'ratio':>6}")
for label, col in cols.items():
    b, m = values("bare", col), values("monitor", col)
    fmt = lambda v: "/".join(f"{x:.1f}" for x in (min(v), statistics.median(v), max(v))) if v else "-"
    ratio = f"{statistics.median(m) / statistics.median(b):.2f}" if b and m else "-"
    print(f"{label:34} {fmt(b):>26} {fmt(m):>26} {ratio:>6}")
polls = idle / 3
cpu_ratio = f"{cpu_m / cpu_b:.2f}" if cpu_b else "-"
print(f"{'CPU over %d s idle (ms)' % idle:34} {cpu_b:>26.0f} {cpu_m:>26.0f} {cpu_ratio:>6}")
print(f"{'context switches over %d s' % idle:34} {sw_b:>26.0f} {sw_m:>26.0f}")
print(f"{'context switches per 3 s poll':34} {sw_b / polls:>26.1f} {sw_m / polls:>26.1f}")
print(f"runs: {len(values('bare', 1))} bare, {len(values('monitor', 1))} monitor")
PY
