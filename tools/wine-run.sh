#!/usr/bin/env bash
# Runs a Windows program of the build under Wine. The Wine prefix lives in the
# build folder (never in the user's home) and is created quietly on first use.
set -euo pipefail
program="$1"
shift
build_dir="$(cd "$(dirname "$program")/.." && pwd)"
export WINEPREFIX="${BRISKO_WINEPREFIX:-$build_dir/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win32
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      wineboot -i >/dev/null 2>&1 || true
      wineserver -w || true
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec wine "$program" "$@"
