#!/usr/bin/env bash
# Starts Vidorun in the demo disc folder, as AutoRun would start it from a CD.
set -euo pipefail
program=$(realpath "$1")
cd "$(dirname "$0")/../demo"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  cat >&2 <<'TXT'
Vidorun is a desktop program and there is no display here (neither DISPLAY
nor WAYLAND_DISPLAY is set). Run it from a desktop session, or inside a
virtual display:
    xvfb-run -a make run        (Debian package: xvfb)
TXT
  exit 1
fi
exec "$program"
