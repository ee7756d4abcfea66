#!/usr/bin/env bash
# Builds the .she parser for the host with libFuzzer (plus address and undefined-
# behaviour checks) and runs it for a bounded, seeded number of inputs, starting
# from the small corpus kept beside this script. New inputs stay in the work folder.
# Usage: run_fuzzer.sh WORK_DIR [RUNS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$1
runs=${2:-500000}
command -v clang++ >/dev/null || { echo "run_fuzzer: clang++ not found (tools/setup.sh installs clang)" >&2; exit 1; }
mkdir -p "$work/corpus"
cp "$here"/corpus/* "$root/skin/win8.she" "$work/corpus/"

clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$root" "$root/skin/theme_format.cpp" "$here/theme_fuzzer.cpp" -o "$work/theme_fuzzer"

cd "$work"
./theme_fuzzer -seed=1 -runs="$runs" -max_len=4200 -dict="$here/she.dict" -print_final_stats=1 \
    corpus >fuzz.log 2>&1 || { tail -40 fuzz.log; exit 1; }
grep -E "^(Done|stat::number_of_executed_units)" fuzz.log
