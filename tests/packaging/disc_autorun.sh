#!/usr/bin/env bash
# The autorun.sh that vidorun --publish puts on every disc, started as the
# desktops start it: with /bin/sh from the disc's root (GNOME's Files, by
# its full path or its name alone), run directly (Xfce's volume manager,
# and by hand from another folder), and by a relative path with CDPATH set.
# The disc's root has blanks in its name. A stand-in vidorun first on the
# path records where it was started and with what; Vidorun must end up in
# the disc's root, and nothing on the disc may change.
#   disc_autorun.sh AUTORUN_SH
set -euo pipefail

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

disc="$work/media/ann/HOLIDAY 1"
mkdir -p "$disc/MOVIES" "$work/bin" "$work/bare" "$work/elsewhere/HOLIDAY 1"
cp "$1" "$disc/autorun.sh"
chmod 0555 "$disc/autorun.sh"
printf '[autorun]\r\nOPEN=Vidorun.exe\r\n' >"$disc/Autorun.inf"
: >"$disc/HOLIDAY1.INI"
disc=$(cd "$disc" && pwd -P)
before=$(find "$disc" -printf '%p %s %m %T@\n' | sort)

# Writes its working folder and then each argument, one a line.
recorder='#!/bin/sh
{ pwd -P; for argument in "$@"; do printf "%s\n" "$argument"; done; } >"$RECORD"
'
printf '%s' "$recorder" >"$work/bin/vidorun"
printf '%s' "$recorder" >"$work/bare/xdg-open"
chmod 0755 "$work/bin/vidorun" "$work/bare/xdg-open"

# The folder a recorded program was given: its one argument, taken from its
# working folder.
given_folder() {
  local cwd argument
  { IFS= read -r cwd && IFS= read -r argument; } <"$work/record" || return 1
  [ "$(wc -l <"$work/record")" -eq 2 ] || return 1
  (cd "$cwd" && cd "$argument" && pwd -P) 2>/dev/null
}

# run_case WHAT FROM EXPECTED PATH COMMAND...: runs COMMAND in FROM with
# PATH, and checks that the recorded program was given EXPECTED.
run_case() {
  local what=$1 from=$2 expected=$3 path=$4
  shift 4
  rm -f "$work/record"
  (cd "$from" && env HOME="$work" PATH="$path" RECORD="$work/record" "$@") >"$work/out" 2>&1 \
    || fail "$what: ended with $?: $(cat "$work/out")"
  if [ ! -f "$work/record" ]; then
    fail "$what: nothing was started: $(cat "$work/out")"
  elif [ "$(given_folder)" != "$expected" ]; then
    fail "$what: started with $(tr '\n' ' ' <"$work/record"), not on $expected"
  fi
}

path=$work/bin:$PATH
run_case "sh with the full path, from the root (GNOME)" "$disc" "$disc" "$path" /bin/sh "$disc/autorun.sh"
run_case "sh autorun.sh, from the root" "$disc" "$disc" "$path" /bin/sh autorun.sh
run_case "run directly, from the root (Xfce)" "$disc" "$disc" "$path" "$disc/autorun.sh"
run_case "run directly, from elsewhere" "$work/elsewhere" "$disc" "$path" "$disc/autorun.sh"
run_case "a relative path with CDPATH set" "$work/media/ann" "$disc" "$path" \
  CDPATH="$work/elsewhere" /bin/sh "HOLIDAY 1/autorun.sh"
# Without Vidorun: the movies' folder opens, and the viewer is told why.
run_case "without vidorun" "$work/elsewhere" "$disc/MOVIES" "$work/bare" /bin/sh "$disc/autorun.sh"
grep -q "needs Vidorun" "$work/out" || fail "without vidorun, nothing says so: $(cat "$work/out")"

[ "$(find "$disc" -printf '%p %s %m %T@\n' | sort)" = "$before" ] || fail "the disc changed"

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "autorun.sh starts vidorun on the disc's root however it is started"
