#!/usr/bin/env bash
# Runs a Windows program of a build under Wine:   wine-run.sh build/windows/bin/x.exe [args]
# or only prepares the build's Wine prefix:      wine-run.sh --prepare build/windows
#
# The prefix lives in the build folder (never in the user's home) and is
# created quietly on first use; concurrent callers wait for the first one.
set -euo pipefail

if [ "${1:-}" = "--prepare" ]; then
  build_dir="$(cd "$2" && pwd)"
  program=""
else
  program="$1"
  shift
  build_dir="$(cd "$(dirname "$program")/.." && pwd)"
fi

export WINEPREFIX="${BRISKO_WINEPREFIX:-$build_dir/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No automatic debugger: where a Wine process crashes (Wine itself is
# unsteady under user-mode emulation), winedbg would attach, hold the
# output open and stall the run instead of letting it fail.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml,winemenubuilder.exe,winedbg.exe=}"
export WINEARCH=win32

mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.brisko-ready" ]; then
    rm -rf "$WINEPREFIX"
    # Where Wine itself runs under user-mode emulation its first start can
    # stall; it is bounded. The prefix is marked ready only when wineboot
    # finished well and Wine's server then stopped by itself; otherwise what
    # is left is stopped, and the next use starts the prefix afresh.
    log="$WINEPREFIX-creation.log"
    if timeout "${BRISKO_WINEBOOT_SECONDS:-1200}" wineboot -i >"$log" 2>&1 &&
      timeout 120 wineserver -w && [ -f "$WINEPREFIX/system.reg" ]; then
      touch "$WINEPREFIX/.brisko-ready"
      rm -f "$log"
    else
      wineserver -k >/dev/null 2>&1 || true
      echo "wine-run: creating the Wine prefix $WINEPREFIX failed or took too long; see $log" >&2
      exit 1
    fi
  fi
) 9>"$WINEPREFIX.lock"

[ -n "$program" ] || exit 0
exec wine "$program" "$@"
