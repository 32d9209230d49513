#!/usr/bin/env bash
# The main job: set up, build Brisko.dll, the release archive and the host
# emulator (the `release` preset: no tests), put the library and the archive
# (reproducible: tools/reproduce.sh checks it) in dist/, and
# run the library in the host emulator (under Wine) on the sample session.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
echo "== Building Brisko.dll, the release archive and the host emulator"
cmake --preset release >/dev/null
cmake --build --preset release -j 2
archive="$(basename build/release/package/Brisko-*-win32.zip)"
mkdir -p dist
cp build/release/bin/Brisko.dll dist/Brisko.dll
cp "build/release/package/${archive}" "dist/${archive}"
echo "dist/Brisko.dll: $(stat -c %s dist/Brisko.dll) bytes"
echo "dist/${archive}: $(stat -c %s "dist/${archive}") bytes"
echo "== dist/Brisko.dll in the host emulator"
# The Wine prefix of the windows build, so that the test command finds it made.
mkdir -p build/windows
BRISKO_WINEPREFIX="$PWD/build/windows/wineprefix" \
  tools/wine-run.sh build/release/bin/brisko-host.exe --module dist/Brisko.dll --sample
