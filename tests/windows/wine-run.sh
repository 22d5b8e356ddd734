#!/usr/bin/env bash
# Runs a Windows program of the test suite under Wine, in a prefix of the
# test run's own:
#   wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
# The prefix is made once, by whichever run comes first, while the others
# wait, with Wine's own fonts; no Wine dialog (Mono, Gecko) is ever shown. Programs get no display
# unless VIDORUN_WINE_DISPLAY names one.
set -euo pipefail
prefix=$(realpath -m "$1")
shift
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=${VIDORUN_WINE_DISPLAY:-}
if [ ! -e "$prefix/.vidorun-ready" ]; then
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -e "$prefix/.vidorun-ready" ]; then
      wine wineboot --init >/dev/null 2>&1
      wineserver -w
      # Wine's own fonts (fonts-wine) stand for Windows' fonts: MS Sans Serif
      # and Courier, which the windows are laid out with, and Marlett, which
      # draws the caption buttons. This Wine looks for them in the prefix only.
      if [ -d /usr/share/wine/fonts ]; then
        for font in /usr/share/wine/fonts/*; do
          ln -sf "$font" "$prefix/drive_c/windows/Fonts/"
        done
      fi
      touch "$prefix/.vidorun-ready"
    fi
  ) 9>"$prefix.lock"
fi
exec wine "$@"
