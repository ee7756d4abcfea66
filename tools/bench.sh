#!/usr/bin/env bash
# Benchmark, not a test: start-up time of Velmorin.exe against a minimal window program
# (alternating, medians and ratio), and the sizes of the shipped files.
# Usage: tools/bench.sh [RUNS]   (default 15 starts each)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORIN_BUILD_DIR:-$here/build}
runs=${1:-15}

"$here/tools/build.sh" Velmorin minimal_window startup_bench skin_engine skin_theme

size() { stat -c %s "$1"; }
kib() { awk -v b="$1" 'BEGIN { printf "%.1f KiB", b / 1024 }'; }
exe="$build/app/Velmorin.exe"
dll="$build/skin/SkinH_EL.dll"
she="$build/skin/win8.she"
echo "sizes:"
printf '  Velmorin.exe   %7d bytes (%s; goal: at most 128 KiB, everything embedded)\n' "$(size "$exe")" "$(kib "$(size "$exe")")"
printf '  SkinH_EL.dll   %7d bytes (%s; goal: under 32 KiB)\n' "$(size "$dll")" "$(kib "$(size "$dll")")"
printf '  win8.she       %7d bytes (goal: under 2 KiB)\n' "$(size "$she")"

# Windows form of a path under Wine's Z: drive.
windows_path() { local p=${1//\//\\}; echo "Z:$p"; }
"$here/tools/wine-run.sh" "$build" "$build/tools/bench/startup_bench.exe" \
    "$(windows_path "$exe")" "$(windows_path "$build/tools/bench/minimal_window.exe")" "$runs"
