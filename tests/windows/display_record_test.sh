#!/usr/bin/env bash
# The record of the run's shared display (display_session.sh): one whose
# Xvfb still runs gives its display; an empty or garbled one, one whose
# process is gone or is no Xvfb, or whose Xvfb has ended, is taken for none,
# so that the next test starts a display afresh.
#   display_record_test.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed" >&2; exit 77; }
# shellcheck source=display_session.sh
. "$here/display_session.sh"

work=$(mktemp -d)
xvfb=
cleanup() {
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
record="$work/a prefix.display"
failed=0
expect() {  # WANTED WHAT
  local got
  got=$(_live_display "$record")
  if [ "$got" != "$1" ]; then
    echo "FAIL: $2: the record gave '$got', not '$1'" >&2
    failed=1
  fi
}

: >"$record"
expect "" "an empty record"
echo "not a record" >"$record"
expect "" "a garbled record"
sleep 0 &
gone=$!
wait "$gone"
echo "7 $gone" >"$record"
expect "" "a record whose process is gone"
echo "7 $$" >"$record"
expect "" "a record whose process is no Xvfb"

Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/number" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/number" ] && break; sleep 0.05; done
number=$(cat "$work/number")
echo "$number $xvfb" >"$record"
expect ":$number" "a record whose Xvfb runs"
kill "$xvfb"
wait "$xvfb" 2>/dev/null || true
xvfb=
expect "" "a record whose Xvfb has ended"

[ "$failed" -eq 0 ] && echo "the display record: all checks passed"
exit "$failed"
