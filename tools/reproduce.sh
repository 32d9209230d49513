#!/usr/bin/env bash
# Checks that the release is reproducible: builds Brisko.dll and the release
# archive twice, here (build/release) and from a copy of this tree in another
# folder, later, and compares both files byte for byte. With ARCHIVE (for
# example a downloaded Brisko-<version>-win32.zip), also compares it with the
# rebuild: run it in a checkout of the release's tag.
# usage: tools/reproduce.sh [ARCHIVE]
set -euo pipefail
cd "$(dirname "$0")/.."
given="${1:+$(realpath "$1")}"
bash tools/setup.sh

build_release() {  # source folder
  (cd "$1" && cmake --preset release >/dev/null &&
     cmake --build --preset release --target release_archive -j "$(nproc)" >/dev/null)
}

echo "== Release build in $PWD"
build_release "$PWD"
name="$(basename build/release/package/Brisko-*-win32.zip)"

# The copy: every file git tracks or would track, and the repository itself
# (the archive's entry time is the last commit's), with fresh file times.
other="$(mktemp -d -t brisko-rebuild.XXXXXX)"
trap 'rm -rf "$other"' EXIT
mkdir "$other/sources-elsewhere"
{ git ls-files -z --cached --others --exclude-standard; printf '.git\0'; } |
  tar --null -T - -cf - | tar -C "$other/sources-elsewhere" -xmf -
echo "== Release build in $other/sources-elsewhere"
build_release "$other/sources-elsewhere"

failures=0
compare() {  # label first second
  if cmp -s "$2" "$3"; then
    echo "same: $1 $(sha256sum <"$2" | cut -d' ' -f1)"
  else
    echo "DIFFERENT: $1 ($2 and $3)"
    failures=$((failures + 1))
  fi
}
compare Brisko.dll build/release/bin/Brisko.dll "$other/sources-elsewhere/build/release/bin/Brisko.dll"
compare "$name" "build/release/package/$name" "$other/sources-elsewhere/build/release/package/$name"
if [ -n "$given" ]; then
  compare "$(basename "$given") against the rebuild" "$given" "build/release/package/$name"
fi
exit "$failures"
