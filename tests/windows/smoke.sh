#!/usr/bin/env bash
# A smoke run of the real Vidorun.exe, as a viewer meets it: started under
# Wine from the disc folder, on the test run's display (display_session.sh).
# Its main window, of the system's own controls, must come up on the demo
# project (its first frame reported, the project's title in its caption)
# and end with exit code 0, once on Ctrl+X and once on Alt+F4, the close
# box's command. A screenshot of the first run is kept.
#   smoke.sh DISC_FOLDER WINE_PREFIX SCREENSHOT_FOLDER
set -euo pipefail
disc=$(realpath "$1")
prefix=$(realpath -m "$2")
shots=$(realpath -m "$3")
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb xdotool import wine; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
done
title=$(sed -n 's/^the_title=//p' "$disc/Autorun.inf" | tr -d '\r')
caption="Vidorun ; $title"

work=$(mktemp -d)
vidorun=
cleanup() {
  [ -n "$vidorun" ] && kill "$vidorun" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# shellcheck source=display_session.sh
. "$here/display_session.sh"
DISPLAY=$(shared_display "$prefix")
export DISPLAY

# run NAME KEYS: starts the program, waits for its window, presses KEYS (one
# after the other) and checks the exit code.
run() {
  local name=$1 keys=$2 window='' status
  (cd "$disc" && VIDORUN_STARTUP_PROBE=report VIDORUN_WINE_DISPLAY=$DISPLAY \
    exec "$here/wine-run.sh" "$prefix" ./Vidorun.exe >"$work/$name.out" 2>"$work/$name.err") &
  vidorun=$!
  for _ in $(seq 600); do
    if grep -q '^first-frame' "$work/$name.out" 2>/dev/null; then
      window=$(xdotool search --name "^$caption\$" 2>/dev/null | head -n 1 || true)
    fi
    [ -n "$window" ] && break
    kill -0 "$vidorun" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$window" ]; then
    echo "FAIL ($name): no first frame, or no window captioned '$caption'" >&2
    cat "$work/$name.out" "$work/$name.err" >&2
    exit 1
  fi
  echo "$name: $(grep '^first-frame' "$work/$name.out")"
  if [ "$name" = ctrl-x ]; then
    sleep 1  # the cover arrives after the first frame
    mkdir -p "$shots"
    import -window "$window" "$shots/vidorun-wine.png"
  fi
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  # shellcheck disable=SC2086 # each word a key
  xdotool key --clearmodifiers $keys
  for _ in $(seq 300); do kill -0 "$vidorun" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$vidorun" 2>/dev/null; then
    echo "FAIL ($name): still running 30 s after $keys" >&2
    exit 1
  fi
  status=0
  wait "$vidorun" || status=$?
  vidorun=
  [ "$status" -eq 0 ] || { echo "FAIL ($name): exit code $status" >&2; cat "$work/$name.err" >&2; exit 1; }
  echo "$name: ended with exit code 0"
}

run ctrl-x ctrl+x
# The focus starts in the list of movies, a drop-down list, and Wine's takes
# Alt+F4 itself (Windows' passes it on to the window): Tab moves it to the
# first button first.
run alt-f4 "Tab alt+F4"
