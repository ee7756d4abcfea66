#!/usr/bin/env bash
# Installs what the cross build and the Wine test bench need, once per machine:
# MinGW-w64 for i686, Wine with its 32-bit side, QEMU 10 routed through binfmt_misc
# where the machine cannot execute i386 code itself, Xvfb, a CJK font and the
# zh_CN.UTF-8 locale data. Every step is skipped when its result is already there.
set -euo pipefail

log() { printf 'setup: %s\n' "$*"; }
die() { printf 'setup: error: %s\n' "$*" >&2; exit 1; }

[ "$(id -u)" = 0 ] || SUDO=sudo
SUDO=${SUDO:-}
export DEBIAN_FRONTEND=noninteractive

need_pkgs=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

apt_updated=0
apt_update() {
    if [ "$apt_updated" = 0 ]; then
        $SUDO apt-get update -qq || die "apt-get update failed"
        apt_updated=1
    fi
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    log "adding the i386 architecture"
    $SUDO dpkg --add-architecture i386
fi

for p in g++-mingw-w64-i686 mingw-w64-tools binutils-mingw-w64-i686 wine wine32:i386 wine64 \
         xvfb xdotool x11-utils imagemagick fonts-wqy-microhei fonts-wine locales cmake ninja-build \
         googletest python3 clang libclang-rt-14-dev; do
    have "$p" || need_pkgs+=("$p")
done
if [ ${#need_pkgs[@]} -gt 0 ]; then
    log "installing: ${need_pkgs[*]}"
    apt_update
    $SUDO apt-get install -y -qq --no-install-recommends "${need_pkgs[@]}" >/dev/null \
        || die "apt-get install failed for: ${need_pkgs[*]}"
fi

# 32-bit code: run natively where possible, otherwise through QEMU 10 and binfmt_misc.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    if [ ! -x /usr/bin/qemu-i386 ] || ! /usr/bin/qemu-i386 --version | grep -qE 'version (9|1[0-9])\.'; then
        uri=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
        [ -n "$uri" ] || uri=$(awk '/^deb / {print $2; exit}' /etc/apt/sources.list 2>/dev/null || true)
        [ -n "$uri" ] || die "cannot find the Debian mirror to add bookworm-backports"
        echo "deb $uri bookworm-backports main" | $SUDO tee /etc/apt/sources.list.d/backports.list >/dev/null
        apt_updated=0
        apt_update
        log "installing QEMU from bookworm-backports"
        $SUDO apt-get install -y -qq --no-install-recommends -t bookworm-backports qemu-user >/dev/null \
            || die "could not install qemu-user from bookworm-backports"
    fi
    if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
        $SUDO mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc \
            || die "cannot mount binfmt_misc: 32-bit code cannot run on this machine"
    fi
    if [ ! -e /proc/sys/fs/binfmt_misc/velmorin-i386 ]; then
        for old in /proc/sys/fs/binfmt_misc/qemu-i386 /proc/sys/fs/binfmt_misc/i386; do
            [ -e "$old" ] && echo -1 | $SUDO tee "$old" >/dev/null
        done
        magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
        mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
        echo ":velmorin-i386:M::$magic:$mask:/usr/bin/qemu-i386:F" \
            | $SUDO tee /proc/sys/fs/binfmt_misc/register >/dev/null \
            || die "cannot register the i386 binfmt_misc rule"
    fi
    /lib/ld-linux.so.2 --version >/dev/null 2>&1 \
        || die "32-bit i386 code still cannot run (binfmt_misc rule for qemu-i386 not effective)"
fi
log "ready"
