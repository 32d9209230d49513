#!/usr/bin/env bash
# Checks that Brisko.dll loads on every Windows the host runs on, Windows XP
# SP3 included: every function it imports, with its DLL, is in the allow-list
# (tests/dll_imports.txt, all exported by Windows XP SP3), and the PE header's
# operating-system and subsystem versions are ones Windows XP accepts.
# usage: check_imports.sh Brisko.dll OBJDUMP ALLOW-LIST
set -euo pipefail
dll="$1"
objdump="$2"
list="$3"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

headers="$("$objdump" -p "$dll")"

# "DLL Name: X" opens a DLL's table; its rows are "<vma> <hint> <name>".
imports="$(awk '/DLL Name:/ {dll = $3; next}
                dll != "" && NF == 0 {dll = ""}
                dll != "" && $1 ~ /^[0-9a-f]+$/ && NF >= 3 {print toupper(dll), $3}' <<<"$headers" |
           sort -u)"
allowed="$(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$list" |
           awk '{print toupper($1), $2}' | sort -u)"
[ -n "$imports" ] || fail "no imports found"

unlisted="$(comm -23 <(echo "$imports") <(echo "$allowed"))"
if [ -n "$unlisted" ]; then
  fail "imports outside $(basename "$list") (each must exist in Windows XP SP3; add it there knowingly):"
  sed 's/^/  /' <<<"$unlisted"
fi
unused="$(comm -13 <(echo "$imports") <(echo "$allowed"))"
[ -z "$unused" ] || echo "note: listed but no longer imported: $(tr '\n' ' ' <<<"$unused")"

# Windows XP is version 5.1; it refuses images that ask for a later one.
for field in OSystem Subsystem; do
  major="$(awk -v f="Major${field}Version" '$1 == f {print $2}' <<<"$headers")"
  minor="$(awk -v f="Minor${field}Version" '$1 == f {print $2}' <<<"$headers")"
  if [ -z "$major" ] || [ -z "$minor" ]; then
    fail "no ${field} version in the PE header"
  elif (( major * 100 + minor > 501 )); then
    fail "the ${field} version ${major}.${minor} is later than Windows XP's 5.1"
  fi
done

if [ "$failures" -eq 0 ]; then
  echo "OK: $(wc -l <<<"$imports") imports, all in $(basename "$list"); versions Windows XP accepts"
fi
exit "$failures"
