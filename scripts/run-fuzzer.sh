#!/usr/bin/env bash
# One bounded run of a fuzz target: scripts/run-fuzzer.sh <target> <seeds> <work> <seconds>.
# It first runs every seed, then fuzzes for the given seconds. New inputs go to
# <work>/corpus (kept for the next run), never into the seeds; a crash, leak,
# time-out or sanitizer report ends the run with a failure and leaves the input
# in <work>/artifacts.
set -euo pipefail
target=$1 seeds=$2 work=$3 seconds=$4
rm -rf "$work/artifacts"
mkdir -p "$work/corpus" "$work/artifacts"
export UBSAN_OPTIONS=print_stacktrace=1
exec "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
  -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" "$seeds"
