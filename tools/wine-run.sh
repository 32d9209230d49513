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
    # stall; bound it, then stop whatever is left. A prefix that was not
    # finished is completed by the next Wine start.
    timeout "${BRISKO_WINEBOOT_SECONDS:-1200}" wineboot -i >/dev/null 2>&1 || true
    timeout 120 wineserver -w || wineserver -k || true
    touch "$WINEPREFIX/.brisko-ready"
  fi
) 9>"$WINEPREFIX.lock"

[ -n "$program" ] || exit 0
exec wine "$program" "$@"
