#!/usr/bin/env bash
# Sets up, builds both targets and runs every test: natively, under Wine, and
# the fuzz targets for a short bounded time on their seed corpora.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
jobs="$(nproc)"

run_preset() {
  local preset="$1"
  echo "== [$preset] configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "== [$preset] tests"
  ctest --preset "$preset" -j "$jobs"
}

run_preset native
run_preset windows
run_preset fuzz
echo "== All tests passed (native, Windows under Wine, fuzz)"
