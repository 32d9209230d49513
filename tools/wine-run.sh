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
    # wineboot starts the prefix's creation in Wine processes of their own.
    # Where Wine runs under user-mode emulation that outlasts the time the
    # first process waits for it: that one then fails ("could not load
    # kernel32.dll") while the creation goes on; and now and then the
    # emulated creation itself crashes. So the whole of it is awaited, until
    # Wine's server ends, and the prefix is marked ready only when it then
    # holds its system files; a failed creation is tried once more from
    # scratch, both within one bound. Otherwise what is left is stopped,
    # and the next use starts afresh.
    log="$WINEPREFIX-creation.log"
    : >"$log"
    deadline=$((SECONDS + ${BRISKO_WINEBOOT_SECONDS:-3600}))
    made=""
    for attempt in 1 2; do
      [ "$((deadline - SECONDS))" -gt 0 ] || break
      rm -rf "$WINEPREFIX"
      echo "(attempt $attempt)" >>"$log"
      timeout "$((deadline - SECONDS))" wineboot -i >>"$log" 2>&1 || echo "(wineboot: exit $?)" >>"$log"
      left=$((deadline - SECONDS))
      [ "$left" -gt 0 ] && timeout "$left" wineserver -w || break
      if [ -f "$WINEPREFIX/system.reg" ] && [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]; then
        made=yes
        break
      fi
    done
    if [ -n "$made" ]; then
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
