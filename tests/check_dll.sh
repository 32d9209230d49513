#!/usr/bin/env bash
# Checks the built Brisko.dll as a file: a 32-bit PE whose only export is
# _IMessageProc@4, leading into its code, that imports from system DLLs only, built with ASLR and
# DEP, and that carries an icon and a version resource.
# usage: check_dll.sh Brisko.dll OBJDUMP VERSION
set -euo pipefail
dll="$1"
objdump="${2:-i686-w64-mingw32-objdump}"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

headers="$("$objdump" -p "$dll")"

grep -q 'file format pei-i386' <<<"$("$objdump" -f "$dll")" || fail "not a PE32 i386 file"

exports="$(awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^[[:space:]]*\[/{print $NF} on && /^$/{on=0}' <<<"$headers")"
if [ "$exports" != "_IMessageProc@4" ]; then
  fail "exports are not exactly _IMessageProc@4: [$exports]"
fi

# The export must lead to code: its address lies in the code section (an
# export the linker could not resolve points anywhere, or is a forwarder).
rva="$(awk '/Export Address Table -- Ordinal Base/{on=1; next} on && /Export RVA/{print $(NF-2); exit}' <<<"$headers")"
read -r text_size text_vma <<<"$(awk '$2 == ".text" {print $3, $4}' <<<"$("$objdump" -h "$dll")")"
image_base="$(awk '/^ImageBase/{print $2}' <<<"$headers")"
if [ -z "$rva" ] || [ -z "$text_vma" ] || [ -z "$image_base" ]; then
  fail "cannot read the export's address or the code section"
else
  start=$((16#$text_vma - 16#$image_base))
  if (( 16#$rva < start || 16#$rva >= start + 16#$text_size )); then
    fail "the export's address $rva lies outside the code section"
  fi
fi

allowed='^(KERNEL32|USER32|SHELL32|msvcrt|ADVAPI32|api-ms-win-crt-[a-z0-9-]+)\.dll$'
imports="$(awk '/DLL Name:/{print $3}' <<<"$headers" | sort -u)"
[ -n "$imports" ] || fail "no imports found"
while read -r name; do
  [ -z "$name" ] && continue
  if ! grep -Eiq "$allowed" <<<"$name"; then fail "imports a non-system DLL: $name"; fi
done <<<"$imports"
for needed in KERNEL32.dll USER32.dll SHELL32.dll; do
  grep -qix "$needed" <<<"$imports" || fail "does not import $needed"
done

dllchars="$(awk '/^DllCharacteristics/{print $2}' <<<"$headers")"
(( (16#$dllchars & 0x40) != 0 )) || fail "not built with --dynamicbase (DllCharacteristics $dllchars)"
(( (16#$dllchars & 0x100) != 0 )) || fail "not built with --nxcompat (DllCharacteristics $dllchars)"

grep -Eq '[[:space:]]\.rsrc[[:space:]]' <<<"$("$objdump" -h "$dll")" || fail "no resource section"

if [ "$failures" -eq 0 ]; then
  echo "OK: exports [$exports] at $rva; imports [$(tr '\n' ' ' <<<"$imports")]; DllCharacteristics $dllchars"
fi
exit "$failures"
