#!/usr/bin/env bash
# Runs a Windows program of the test suite under Wine on an X display of its
# own, for what needs one (a real dialog).
#   on-display.sh WINE_PREFIX PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
prefix=$(realpath -m "$1")
shift
here=$(cd "$(dirname "$0")" && pwd)
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed" >&2; exit 77; }

work=$(mktemp -d)
. "$here/display_session.sh"
trap 'stop_display_session; rm -rf "$work"' EXIT

start_display_session
VIDORUN_WINE_DISPLAY=$DISPLAY "$here/wine-run.sh" "$prefix" "$@"
