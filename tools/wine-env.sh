# Sourced by the scripts that run Windows programs: sets up the build's own Wine
# prefix, the zh_CN.UTF-8 locale (code page 936) and a display, all inside the
# build folder. Usage: source tools/wine-env.sh BUILD_DIR
_velmorin_build=$(cd "$1" && pwd) || { echo "wine-env: no build folder '$1'" >&2; return 1; }

export WINEPREFIX="$_velmorin_build/${VELMORIN_PREFIX_NAME:-wineprefix}"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LOCPATH="$_velmorin_build/locale"

_velmorin_fail() { echo "wine-env: error: $*" >&2; return 1; }

# 32-bit code must run, natively or through binfmt_misc; say why when it cannot.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    _velmorin_fail "this machine cannot execute 32-bit i386 code (run tools/setup.sh as root: it registers qemu-i386 with binfmt_misc)" || return 1
fi
command -v wine >/dev/null || { _velmorin_fail "wine is not installed (run tools/setup.sh)"; return 1; }

(
    flock 9
    if [ ! -f "$LOCPATH/zh_CN.UTF-8/LC_CTYPE" ]; then
        mkdir -p "$LOCPATH"
        localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" 2>/dev/null || [ -f "$LOCPATH/zh_CN.UTF-8/LC_CTYPE" ] \
            || { echo "wine-env: error: localedef zh_CN.UTF-8 failed (package locales missing?)" >&2; exit 1; }
    fi
    if [ ! -f "$WINEPREFIX/.velmorin-ready" ]; then
        rm -rf "$WINEPREFIX"
        echo "wine-env: creating the Wine prefix $WINEPREFIX" >&2
        /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || { echo "wine-env: error: wineboot failed" >&2; exit 1; }
        wineserver -w
        [ -d "$WINEPREFIX/drive_c/windows/syswow64" ] \
            || { echo "wine-env: error: the prefix has no 32-bit side (wine32:i386 missing?)" >&2; exit 1; }
        touch "$WINEPREFIX/.velmorin-ready"
    fi
) 9>"$WINEPREFIX.lock" || return 1

# A display: the caller's, or a virtual screen that belongs to this build folder.
if [ -z "${DISPLAY:-}" ] || [ -n "${VELMORIN_OWN_DISPLAY:-}" ]; then
    _velmorin_display=$(
        exec 9>"$_velmorin_build/.xvfb.lock"
        flock 9
        pidf="$_velmorin_build/xvfb.pid"
        numf="$_velmorin_build/xvfb.display"
        if [ -f "$pidf" ] && kill -0 "$(cat "$pidf")" 2>/dev/null && [ -f "$numf" ]; then
            cat "$numf"
            exit 0
        fi
        command -v Xvfb >/dev/null || { echo "wine-env: error: Xvfb is not installed" >&2; exit 1; }
        num=90
        while [ -e "/tmp/.X$num-lock" ] || [ -e "/tmp/.X11-unix/X$num" ]; do num=$((num + 1)); done
        setsid Xvfb ":$num" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 9>&- &
        echo $! >"$pidf"
        for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$num" ] && break; sleep 0.1; done
        [ -e "/tmp/.X11-unix/X$num" ] || { echo "wine-env: error: Xvfb did not start" >&2; exit 1; }
        echo ":$num" >"$numf"
        echo ":$num"
    ) || return 1
    export DISPLAY="$_velmorin_display"
fi
# Code page 936 for the Windows programs (exported once the locale data exists).
export LC_ALL=zh_CN.UTF-8
export LANG=zh_CN.UTF-8
return 0
