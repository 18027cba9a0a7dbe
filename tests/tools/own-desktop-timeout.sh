#!/usr/bin/env bash
# A window test program that runs past its time limit leaves no process behind. A program that
# hangs (StuckWindow.cpp) runs through scripts/own-desktop.sh under a ctest of its own, which
# ends it at its limit as every test is ended there: by SIGKILL, so no trap of the script runs.
# Then no process of that run may remain, Wine's detached server and services included.
#   tests/tools/own-desktop-timeout.sh <stuck program.exe>
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
stuck=${1:?usage: own-desktop-timeout.sh <stuck program.exe>}
: "${WL_PREFIX_TEMPLATE:?run through scripts/run-tests.sh}"

work=$(mktemp -d "$root/build/win64/timeout-check.XXXXXX") || exit 1
prefix=$root/build/win64/prefixes/$(basename "$stuck" .exe)
trap 'rm -rf "$work" "$prefix" "$prefix.input"' EXIT
# Every process of the run inherits this mark, those that leave their parent too.
mark=WL_TIMEOUT_CHECK=$$.$RANDOM
cat >"$work/CTestTestfile.cmake" <<CT
add_test(stuck "$root/scripts/own-desktop.sh" "$stuck")
set_tests_properties(stuck PROPERTIES TIMEOUT 240 TIMEOUT_AFTER_MATCH "2;stuck until killed")
CT
# Into a file: a process left holding a pipe would keep its reader waiting.
env "$mark" ctest --test-dir "$work" --output-on-failure >"$work/ctest.log" 2>&1

fail() {
  echo "FAIL: $*"
  cat "$work/ctest.log"
  exit 1
}
grep -q "stuck until killed" "$work/ctest.log" || fail "the stuck program never ran"
grep -q "Timeout" "$work/ctest.log" || fail "the run did not end at its time limit"

# The processes whose environment holds the mark.
marked() {
  found=()
  local p var
  for p in /proc/[0-9]*; do
    p=${p#/proc/}
    while IFS= read -r -d '' var; do
      [ "$var" = "$mark" ] && found+=("$p") && break
    done 2>/dev/null <"/proc/$p/environ"
  done
}
marked
# Killed ones take a moment to go: up to 10 s in all, each waited for on its pidfd
# (pidfd_open, which turns readable when the process ends).
[ ${#found[@]} -eq 0 ] || perl -MPOSIX -e '
  my $end = time + 10;
  for my $pid (@ARGV) {
    my $fd = syscall(434, $pid + 0, 0);
    next if $fd < 0;
    my $bits = "";
    vec($bits, $fd, 1) = 1;
    my $left = $end - time;
    select($bits, undef, undef, $left > 0 ? $left : 0);
    POSIX::close($fd);
  }' "${found[@]}"
marked
if [ ${#found[@]} -gt 0 ]; then
  echo "FAIL: ${#found[@]} processes of the run outlived its time limit:"
  ps -o pid=,ppid=,args= -p "$(IFS=,; echo "${found[*]}")"
  kill -KILL "${found[@]}" 2>/dev/null
  exit 1
fi
echo "ended at its time limit, the run left no process behind"
