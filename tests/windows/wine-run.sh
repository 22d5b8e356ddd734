#!/usr/bin/env bash
# Runs a Windows program of the test suite under Wine, in a prefix of the
# test run's own:
#   wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
# The prefix is made once, by whichever run comes first, while the others
# wait; no Wine dialog (Mono, Gecko) is ever shown. Programs get no display
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
      touch "$prefix/.vidorun-ready"
    fi
  ) 9>"$prefix.lock"
fi
exec wine "$@"
