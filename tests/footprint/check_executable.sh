#!/usr/bin/env bash
# Checks a Windows executable's footprint: it imports system DLLs only (no C++ or GCC runtime
# or thread library DLLs, which a bare Windows lacks), and stripped it is at most max-bytes.
#   check_executable.sh <program.exe> <objdump> <strip> <max-bytes>
# Exit 0 when both hold, 1 with the reasons otherwise.
set -euo pipefail
program=$1 objdump=$2 strip=$3 max_bytes=$4

# System DLLs a Win32 program may rely on, in lower case; anything else is refused.
allowed='^(kernel32|user32|gdi32|advapi32|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|imm32|winmm|version|uxtheme|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'

status=0
imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | tr -d '\r')
if [ -z "$imports" ]; then
    echo "FAIL: no import table found in $program"
    exit 1
fi
while read -r dll; do
    if ! printf '%s\n' "$dll" | tr '[:upper:]' '[:lower:]' | grep -Eq "$allowed"; then
        echo "FAIL: imports $dll, which is not a system DLL"
        status=1
    fi
done <<<"$imports"

stripped=$(mktemp --suffix=.exe)
trap 'rm -f "$stripped"' EXIT
"$strip" -o "$stripped" "$program"
size=$(stat -c %s "$stripped")
if [ "$size" -gt "$max_bytes" ]; then
    echo "FAIL: stripped size $size bytes, more than $max_bytes"
    status=1
fi
echo "imports: $(echo $imports)"
echo "stripped size: $size bytes (limit $max_bytes)"
exit $status
