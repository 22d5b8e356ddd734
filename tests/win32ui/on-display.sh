#!/usr/bin/env bash
# Runs a test program of the Windows front end under Wine on an X display of
# its own (tests/windows/on-display.sh), in a prefix where Wine draws the
# windows' captions and frames itself, as Windows does: Xvfb has no window
# manager to draw them, and the screenshots should show them.
#   on-display.sh WINE_PREFIX PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
prefix=$(realpath -m "$1")
here=$(cd "$(dirname "$0")" && pwd)
windows=$here/../windows
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed" >&2; exit 77; }
"$windows/wine-run.sh" "$prefix" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
WINEPREFIX=$prefix wineserver -w
exec "$windows/on-display.sh" "$@"
