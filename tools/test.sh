#!/usr/bin/env bash
# Sets up, builds both targets and runs every test: natively (plain and with
# AddressSanitizer and UndefinedBehaviorSanitizer), under Wine, the fuzz
# targets for a short bounded time on their seed corpora, each benchmark once,
# and the release built twice to check that it is reproducible.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
jobs="$(nproc)"

# Creating Wine's prefix takes minutes; it happens while the native target
# builds. When a step fails before the prefix is needed, the preparation is
# stopped (its processes, then the prefix's Wine server) instead of running on.
mkdir -p build/windows
tools/wine-run.sh --prepare build/windows &
wine_prefix_job=$!
descendants() {
  local child
  for child in $(pgrep -P "$1" || true); do
    descendants "$child"
    echo "$child"
  done
}
stop_wine_preparation() {
  if kill -0 "$wine_prefix_job" 2>/dev/null; then
    echo "== Stopping the Wine preparation" >&2
    # shellcheck disable=SC2046
    kill $(descendants "$wine_prefix_job") "$wine_prefix_job" 2>/dev/null || true
    WINEPREFIX="$PWD/build/windows/wineprefix" wineserver -k 2>/dev/null || true
    wait "$wine_prefix_job" 2>/dev/null || true
  fi
}
trap stop_wine_preparation EXIT

build() {
  echo "== [$1] configure and build"
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j "$jobs"
}
run_tests() {
  echo "== [$1] tests"
  ctest --preset "$1" -j "$jobs"
}

build native
run_tests native
build native-sanitize
run_tests native-sanitize
build windows
wait "$wine_prefix_job"
run_tests windows
build fuzz
run_tests fuzz
# Every benchmark once, briefly: the bench preset must keep building and
# running (no figure is judged here).
build bench
echo "== [bench] each benchmark once, briefly"
build/bench/bin/brisko_link_bench --benchmark_min_time=0.001 >/dev/null
build/bench/bin/brisko-soak 20000 2 >/dev/null
echo "== [release] reproducible: built twice, in two folders"
bash tools/reproduce.sh
echo "== All tests passed (native, sanitizers, Windows under Wine, fuzz, bench, reproducible release)"
