#!/usr/bin/env bash
# Checks a Windows executable's footprint: it imports system DLLs only (no C++ or GCC runtime
# or thread library DLLs, which a bare Windows lacks), stripped it is at most max-bytes, and
# its PE header asks for address-space randomisation, no-execute data and Remote Desktop
# awareness.
#   check_executable.sh <program.exe> <objdump> <strip> <max-bytes>
# Exit 0 when all hold, 1 with the reasons otherwise.
set -euo pipefail
program=$1 objdump=$2 strip=$3 max_bytes=$4

# System DLLs a Win32 program may rely on, in any case; anything else is refused.
allowed='^(kernel32|user32|gdi32|advapi32|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|imm32|winmm|version|uxtheme|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'

status=0
fail() { echo "FAIL: $*"; status=1; }
header=$("$objdump" -p "$program")
# DllCharacteristics bits, each with the name objdump gives it.
required_flags=(0x0040:DYNAMIC_BASE 0x0100:NX_COMPAT 0x8000:TERMINAL_SERVICE_AWARE)
if grep -q '^Magic[[:space:]]*020b' <<<"$header"; then  # PE32+: 64-bit addresses to spread
    required_flags+=(0x0020:HIGH_ENTROPY_VA)
fi
flags=$((16#$(sed -n 's/^DllCharacteristics[[:space:]]*//p' <<<"$header")))
for entry in "${required_flags[@]}"; do
    (((flags & ${entry%%:*}) != 0)) || fail "the PE header lacks ${entry#*:}"
done

# No import table leaves one empty name, which is refused too.
imports=$(sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' <<<"$header" | tr -d '\r')
while read -r dll; do
    grep -Eiq "$allowed" <<<"$dll" || fail "imports $dll, which is not a system DLL"
done <<<"$imports"

stripped=$(mktemp --suffix=.exe)
trap 'rm -f "$stripped"' EXIT
"$strip" -o "$stripped" "$program"
size=$(stat -c %s "$stripped")
[ "$size" -le "$max_bytes" ] || fail "stripped size $size bytes, more than $max_bytes"
echo "imports: $(echo $imports)"
echo "stripped size: $size bytes (limit $max_bytes)"
exit $status
