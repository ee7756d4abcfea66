#!/usr/bin/env bash
# Builds Velmorin.exe and starts it under Wine in the build folder's own prefix.
# With a display ($DISPLAY set) the window opens there. Without one it runs on a virtual
# screen: a screenshot of the window is saved, the window is closed with Esc, and the
# picture's path and the program's exit code are printed.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORIN_BUILD_DIR:-$here/build}

"$here/tools/build.sh" Velmorin
exe="$build/app/Velmorin.exe"
[ -f "$exe" ] || { echo "run: error: $exe was not built" >&2; exit 1; }

# A prefix of its own, so that a desktop window with a caption can be set for the
# program without changing the prefix the tests use.
export VELMORIN_PREFIX_NAME=run-prefix
if [ -n "${DISPLAY:-}" ]; then
    # shellcheck source=wine-env.sh
    source "$here/tools/wine-env.sh" "$build"
    cd "$build/app"
    status=0
    wine Velmorin.exe || status=$?
    echo "run: Velmorin.exe ended with exit code $status"
    exit $status
fi

VELMORIN_OWN_DISPLAY=1
# shellcheck source=wine-env.sh
source "$here/tools/wine-env.sh" "$build"
# Wine draws window captions itself on a virtual desktop.
wine reg add 'HKCU\Software\Wine\AppDefaults\Velmorin.exe\Explorer' /v Desktop /d Velmorin /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Velmorin /d 640x400 /f >/dev/null 2>&1

shot="$build/velmorin-screenshot.png"
rm -f "$shot"
cd "$build/app"
wine Velmorin.exe >"$build/run.log" 2>&1 &
pid=$!
# Wait until the main window is shown.
window=""
for _ in $(seq 120); do
    window=$(xdotool search --name '^Velmorin - ' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.5
done
if [ -z "$window" ]; then
    echo "run: error: the window did not appear (see $build/run.log)" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
fi
sleep 3  # let it paint
desktop=$(xdotool search --name '^Velmorin - ' 2>/dev/null | tail -n 1 || true)
desktop=$(xdotool search --name 'Wine desktop' 2>/dev/null | head -n 1 || echo "$desktop")
import -window "${desktop:-root}" "$shot" 2>/dev/null || import -window root "$shot"
# Esc goes to the focused control of the active window, as a user's key press would;
# Wine's virtual desktop takes keys once the pointer is over it.
for _ in 1 2 3; do
    xdotool mousemove --window "$window" 180 100 >/dev/null 2>&1 || xdotool mousemove 320 200
    sleep 0.5
    xdotool key Escape
    for _ in $(seq 10); do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
    kill -0 "$pid" 2>/dev/null || break
done
if kill -0 "$pid" 2>/dev/null; then
    echo "run: error: Esc did not close the window" >&2
    wineserver -k 2>/dev/null || true
fi
status=0
wait "$pid" || status=$?
wineserver -k 2>/dev/null || true
kill "$(cat "$build/xvfb.pid")" 2>/dev/null || true
rm -f "$build/xvfb.pid"
echo "run: screenshot saved to $shot"
echo "run: Velmorin.exe ended with exit code $status"
exit $status
