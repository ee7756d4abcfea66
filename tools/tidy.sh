#!/usr/bin/env bash
# Runs clang-tidy over the program's own sources with the cross build's compile
# commands and MinGW's C++ headers. Usage: tools/tidy.sh [files...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORIN_BUILD_DIR:-$here/build}
[ -f "$build/compile_commands.json" ] || { echo "tidy: build first (tools/test.sh)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# clang knows only UTF-8 as the execution character set.
sed 's/-fexec-charset=CP936//g' "$build/compile_commands.json" >"$work/compile_commands.json"
gxx=$(awk -F'"' '/"command"/ {split($4, a, " "); print a[1]; exit}' "$work/compile_commands.json")
extra=()
while read -r dir; do extra+=("--extra-arg=-isystem$dir"); done < <(
    "$gxx" -E -x c++ -v /dev/null 2>&1 | awk '/search starts here:/ {on=1; next} /End of search list/ {on=0} on {print $1}')
extra+=("--extra-arg=--target=i686-w64-mingw32")
if [ $# -eq 0 ]; then
    set -- $(cd "$here" && ls app/*.cpp controls/*.cpp theme/*.cpp skin/*.cpp dllcall/*.cpp repair/*.cpp platform/*.cpp)
fi
cd "$here"
clang-tidy -p "$work" --quiet "${extra[@]}" "$@"
