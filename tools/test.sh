#!/usr/bin/env bash
# Builds everything for 32-bit Windows and runs the tests under Wine.
# Installs what is missing first (as root, or through sudo); a second run only rebuilds
# what changed. Usage: tools/test.sh [extra ctest arguments]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORIN_BUILD_DIR:-$here/build}

"$here/tools/build.sh"

# The tests need this machine to run 32-bit code: say so plainly when it cannot.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo "test: error: this machine cannot run 32-bit i386 code, so the Windows tests cannot run" >&2
    exit 1
fi

cd "$build"
status=0
ctest --output-on-failure --timeout 900 "$@" || status=$?
# End this build's Wine processes and virtual screen.
WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
if [ -f "$build/xvfb.pid" ]; then kill "$(cat "$build/xvfb.pid")" 2>/dev/null || true; rm -f "$build/xvfb.pid"; fi
exit $status
