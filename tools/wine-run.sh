#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own prefix with code page 936.
# Usage: wine-run.sh BUILD_DIR program.exe [arguments...]
set -u
build=$1; shift
# shellcheck source=wine-env.sh
source "$(dirname "$0")/wine-env.sh" "$build" || exit 125
exec wine "$@"
