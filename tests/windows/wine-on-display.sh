#!/usr/bin/env bash
# Runs a Windows program of the test suite under Wine, in the run's prefix,
# on the X display that the whole test run shares (display_session.sh): the
# first caller starts Xvfb and the Wine session, later ones join them.
#   wine-on-display.sh PREFIX PROGRAM.exe [ARGUMENTS...]
#   wine-on-display.sh --stop PREFIX      ends the run's Wine session and Xvfb
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=display_session.sh
. "$here/display_session.sh"
if [ "${1:-}" = --stop ]; then
  stop_shared_display "$(realpath -m "$2")"
  exit 0
fi
prefix=$(realpath -m "$1")
shift
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed" >&2; exit 77; }
command -v wine >/dev/null || { echo "SKIP: wine is not installed" >&2; exit 77; }
display=$(shared_display "$prefix")
VIDORUN_WINE_DISPLAY=$display exec "$here/wine-run.sh" "$prefix" "$@"
