#!/usr/bin/env bash
# Installs what is missing, configures the cross build once and builds it (or only the
# targets named). Used by tools/test.sh, tools/run.sh and tools/bench.sh.
# Usage: tools/build.sh [targets...]; the build folder is $VELMORIN_BUILD_DIR or build/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORIN_BUILD_DIR:-$here/build}

"$here/tools/setup.sh"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel
fi
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
