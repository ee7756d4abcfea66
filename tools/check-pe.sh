#!/usr/bin/env bash
# Checks built Windows files with the build's objdump: each must be PE32 for i386 and
# import only Windows system DLLs (everything else is linked in statically).
# Usage: check-pe.sh OBJDUMP FILE...
set -u
objdump=$1; shift
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|msvcrt|version|mpr|shlwapi|uxtheme|winmm|ws2_32|imm32|rpcrt4|api-ms-win-[a-z0-9-]+)\.dll$'
status=0
for file in "$@"; do
    header=$("$objdump" -f "$file" 2>&1)
    if ! grep -q 'file format pei-i386' <<<"$header" || ! grep -q 'architecture: i386' <<<"$header"; then
        echo "FAIL $file is not PE32 for i386:"; echo "$header"; status=1; continue
    fi
    while read -r dll; do
        if ! grep -qiE "$allowed" <<<"$dll"; then
            echo "FAIL $file imports $dll, which is not a Windows system library"; status=1
        fi
    done < <("$objdump" -p "$file" | awk '/DLL Name:/ {print $3}')
    [ $status = 0 ] && echo "ok   $file: PE32 i386, imports $("$objdump" -p "$file" | awk '/DLL Name:/ {printf "%s ", $3}')"
done
exit $status
