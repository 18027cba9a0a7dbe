#!/usr/bin/env bash
# Runs every test: the native units under the sanitizers and the win64 build
# under Wine, as one ctest run with one summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export WL_ROOT=$root
. scripts/wine-env.sh
trap wine_env_stop EXIT
trap "exit 130" INT TERM
wine_env_start

cat > build/CTestTestfile.cmake <<CT
subdirs("native" "win64")
CT
ctest --test-dir build --output-on-failure --timeout 300 -j "$(nproc)"
