#!/usr/bin/env bash
# Runs a Windows program of the test suite under Wine on an X display of its
# own, for what needs one (a real dialog): a Wine session keeps the display
# its first program had, so this run (which ctest runs alone) ends the
# other tests' session, starts one with the display, and ends it again.
#   on-display.sh WINE_PREFIX PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
prefix=$(realpath -m "$1")
shift
here=$(cd "$(dirname "$0")" && pwd)
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed" >&2; exit 77; }

work=$(mktemp -d)
xvfb=
stop_wine() { WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; }
cleanup() {
  stop_wine
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

"$here/wine-run.sh" "$prefix" cmd /c exit 0 >/dev/null 2>&1 || true
stop_wine
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
VIDORUN_WINE_DISPLAY=:$(cat "$work/display") "$here/wine-run.sh" "$prefix" "$@"
