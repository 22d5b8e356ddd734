#!/usr/bin/env bash
# Vidorun.exe --publish under Wine, as an author on Windows runs it: the demo
# project published to a disc folder and an image, in folders whose names
# hold blanks. The disc must carry Vidorun.exe itself, and Vidorun.exe
# --check, run from the disc, must find no problem in it through Windows'
# file system. Published again, the disc stays as it was without --force
# and is replaced with it.
#   publish.sh VIDORUN_EXE DEMO_FOLDER WINE_PREFIX WORK_FOLDER
set -euo pipefail
exe=$(realpath "$1")
demo=$(realpath "$2")
prefix=$(realpath -m "$3")
work=$(realpath -m "$4")
here=$(cd "$(dirname "$0")" && pwd)

for tool in wine Xvfb; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
done
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# Wine shows this machine's file system as drive Z:.
windows_path() { printf 'Z:%s' "$1"; }
vidorun() { "$here/wine-on-display.sh" "$prefix" "$exe" "$@"; }

rm -rf "$work"
mkdir -p "$work/an author"
cp -r "$demo" "$work/an author/holiday project"
project=$work/an\ author/holiday\ project
out=$work/an\ author/my\ discs
disc=$out/HOLIDAY1

status=0
vidorun --publish "$(windows_path "$project")" "$(windows_path "$out")" --iso >"$work/publish.out" 2>&1 || status=$?
cat "$work/publish.out"
[ "$status" -eq 0 ] || fail "Vidorun.exe --publish ended with $status"
grep -q 'HOLIDAY1  .*HOLIDAY1\.iso (.* bytes): fits .*; the disc check finds no problem' "$work/publish.out" \
  || fail "no line saying HOLIDAY1 and its image were made and checked"

for file in Autorun.inf HOLIDAY1.INI Vidorun.exe autorun.sh NOTICES.TXT COVER.JPG \
  MOVIES/SUNRISE.AVI MOVIES/HARBOUR.AVI MOVIES/NIGHT.AVI; do
  [ -f "$disc/$file" ] || fail "the disc has no $file"
done
cmp -s "$disc/Vidorun.exe" "$exe" || fail "the disc's Vidorun.exe is not the program that made it"
cmp -s "$disc/MOVIES/NIGHT.AVI" "$demo/MOVIES/NIGHT.AVI" || fail "MOVIES/NIGHT.AVI is not the project's movie"
[ -s "$out/HOLIDAY1.iso" ] || fail "no image HOLIDAY1.iso"
leftovers=$(find "$out" -maxdepth 1 -name '.*' ! -name . ! -name .vidorun-published | head -n 3)
[ -z "$leftovers" ] || fail "temporary files left: $leftovers"
[ -s "$out/.vidorun-published" ] || fail "no record of what publishing made in $out"
if command -v isoinfo >/dev/null; then
  isoinfo -J -f -i "$out/HOLIDAY1.iso" | grep -q '^/MOVIES/SUNRISE.AVI$' \
    || fail "the image's Joliet names lack /MOVIES/SUNRISE.AVI"
fi

# The disc as a viewer's Windows meets it: the program started from it.
status=0
(cd "$disc" && "$here/wine-on-display.sh" "$prefix" ./Vidorun.exe --check .) >"$work/check.out" 2>&1 || status=$?
cat "$work/check.out"
[ "$status" -eq 0 ] || fail "Vidorun.exe --check of the published disc ended with $status"

before=$(cd "$disc" && find . -type f -exec md5sum {} + | sort)
touch -d '2001-01-01' "$disc/HOLIDAY1.INI"
status=0
vidorun --publish "$(windows_path "$project")" "$(windows_path "$out")" >"$work/again.out" 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "publishing over the disc without --force ended with $status, not 2"
grep -q 'is already there' "$work/again.out" || fail "publishing again did not say the disc is there: $(cat "$work/again.out")"
[ "$(cd "$disc" && find . -type f -exec md5sum {} + | sort)" = "$before" ] || fail "the disc changed"
[ "$(stat -c %Y "$disc/HOLIDAY1.INI")" = "$(date -d 2001-01-01 +%s)" ] || fail "the disc's marker was written again"

status=0
vidorun --publish "$(windows_path "$project")" "$(windows_path "$out")" --force --quiet >"$work/force.out" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "publishing with --force ended with $status: $(cat "$work/force.out")"
[ ! -s "$work/force.out" ] || fail "--quiet said: $(cat "$work/force.out")"
[ "$(stat -c %Y "$disc/HOLIDAY1.INI")" != "$(date -d 2001-01-01 +%s)" ] || fail "--force left the old disc"
# An author's own folder with a disc's name is never replaced, even with
# --force, and says why.
mkdir -p "$work/an author/other discs/HOLIDAY1/photos"
echo "the author's" >"$work/an author/other discs/HOLIDAY1/photos/wedding.jpg"
status=0
vidorun --publish "$(windows_path "$project")" "$(windows_path "$work/an author/other discs")" --force \
  >"$work/theirs.out" 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "publishing over an author's folder with --force ended with $status, not 2"
grep -q 'was not made by vidorun --publish: it is not replaced, even with --force' "$work/theirs.out" \
  || fail "publishing over an author's folder did not say why: $(cat "$work/theirs.out")"
[ "$(cat "$work/an author/other discs/HOLIDAY1/photos/wedding.jpg")" = "the author's" ] || fail "the author's file changed"

# An output folder deeper than Windows' old limit of 260 characters. (A
# working folder that deep is no test here: Wine starts no program in one.)
deep=$work/deep
for part in 1 2 3 4 5 6; do deep=$deep/a-folder-name-of-some-forty-eight-characters-$part; done
mkdir -p "$deep"
status=0
vidorun --publish "$(windows_path "$project")" "$(windows_path "$deep/discs")" --quiet >"$work/deep.out" 2>&1 \
  || status=$?
[ "$status" -eq 0 ] || fail "publishing under a deep working folder ended with $status: $(cat "$work/deep.out")"
cmp -s "$deep/discs/HOLIDAY1/MOVIES/NIGHT.AVI" "$demo/MOVIES/NIGHT.AVI" || fail "the deep disc lacks its movie"
echo "publish: all checks passed"
