#!/usr/bin/env bash
# The main job: set up, build Brisko.dll, copy it to dist/, and run it in the
# host emulator (under Wine) on the built-in sample.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
echo "== Building Brisko.dll"
cmake --preset windows >/dev/null
cmake --build --preset windows
mkdir -p dist
cp build/windows/bin/Brisko.dll dist/Brisko.dll
echo "== dist/Brisko.dll in the host emulator"
tools/wine-run.sh build/windows/bin/brisko-host.exe --module dist/Brisko.dll --sample
