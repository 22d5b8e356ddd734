#!/usr/bin/env bash
# Installs the Debian packages that Vidorun's build, run or tests need and
# that this machine lacks. Looks first, so a second call never touches apt.
#   scripts/install-deps.sh run    what building and running the program needs
#   scripts/install-deps.sh test   that, plus what the test suite needs
#   scripts/install-deps.sh package  what run needs, plus what building the .deb needs
#   scripts/install-deps.sh fuzz   what run needs, plus clang with libFuzzer for the fuzz targets
#   scripts/install-deps.sh bench  what run needs, plus Google Benchmark, Xvfb and Python
#   scripts/install-deps.sh windows  what cross-building and testing Vidorun.exe needs (no Qt),
#                                  and the Debian source of libarchive within reach of apt-get source
set -euo pipefail

run_packages=(cmake make g++ pkg-config qt6-base-dev libgl-dev libarchive-dev fonts-liberation2 xdg-utils)
package_packages=(dpkg-dev file)
test_packages=(googletest libgtest-dev libgmock-dev mingw-w64 desktop-file-utils appstream dpkg-dev file lintian python3-gi gir1.2-glib-2.0 shared-mime-info)
fuzz_packages=(clang libclang-rt-dev)
bench_packages=(libbenchmark-dev xvfb xauth python3 xorriso)
# Vidorun.exe: the cross compilers, libarchive's Debian source (of the
# version libarchive-dev has here), and Wine on Xvfb for its tests, with
# Wine's own fonts: the MS Sans Serif and Courier the windows are laid out
# with, and Marlett, which draws the caption buttons.
windows_packages=(cmake make libarchive-dev g++-mingw-w64-x86-64-posix mingw-w64-tools ninja-build dpkg-dev xz-utils
  wine wine64 fonts-wine xvfb xauth xdotool imagemagick googletest fonts-liberation2 python3)

mode=${1:-run}
case "$mode" in
  run) wanted=("${run_packages[@]}") ;;
  test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
  package) wanted=("${run_packages[@]}" "${package_packages[@]}") ;;
  fuzz) wanted=("${run_packages[@]}" "${fuzz_packages[@]}") ;;
  bench) wanted=("${run_packages[@]}" "${bench_packages[@]}") ;;
  windows) wanted=("${windows_packages[@]}") ;;
  *) echo "usage: $0 run|test|package|fuzz|bench|windows" >&2; exit 2 ;;
esac

as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "I am not root and have no sudo, and need to run: $*" >&2
    exit 1
  fi
}

# The Windows libarchive is built from Debian's source package, which apt
# finds only through deb-src entries. They are made from this
# machine's own deb entries for the running release (the same addresses,
# mirror, suites and keys, the security suite included), never from an
# address written here, and the file is replaced in one rename.
source_list=/etc/apt/sources.list.d/vidorun-deb-src.sources
update_needed=

# Prints a deb-src stanza for every enabled deb entry of this release.
deb_src_entries() {
  local codename=$1 file
  # One-line entries: deb [options] URI SUITE COMPONENT...
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    awk -v codename="$codename" '
      $1 != "deb" { next }
      {
        i = 2; signed = ""
        if ($i ~ /^\[/) {
          while (i <= NF) {
            if ($i ~ /signed-by=/) { signed = $i; sub(/.*signed-by=/, "", signed); sub(/\]$/, "", signed) }
            if ($i ~ /\]$/) { i++; break }
            i++
          }
        }
        uri = $i; suite = $(i + 1)
        if (suite != codename && index(suite, codename "-") != 1) next
        comps = ""
        for (j = i + 2; j <= NF; j++) { if ($j ~ /^#/) break; comps = comps (comps ? " " : "") $j }
        print "Types: deb-src"; print "URIs: " uri; print "Suites: " suite; print "Components: " comps
        if (signed) print "Signed-By: " signed
        print ""
      }' "$file"
  done
  # deb822 entries: each stanza with Types deb, for a suite of this release.
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] && [ "$file" != "$source_list" ] || continue
    awk -v codename="$codename" '
      function flush() {
        if (n && types ~ /(^|[ \t])deb([ \t]|$)/ && enabled !~ /^[ \t]*no/ && ours) {
          for (k = 1; k <= n; k++) print (lines[k] ~ /^Types:/ ? "Types: deb-src" : lines[k])
          print ""
        }
        n = 0; types = ""; enabled = ""; ours = 0
      }
      /^[ \t]*$/ { flush(); next }
      /^#/ { next }
      {
        lines[++n] = $0
        if ($1 == "Types:") types = substr($0, 7)
        if ($1 == "Enabled:") enabled = substr($0, 9)
        if ($1 == "Suites:") for (k = 2; k <= NF; k++) if ($k == codename || index($k, codename "-") == 1) ours = 1
      }
      END { flush() }' "$file"
  done
}

has_archive_source() {
  # Read whole, not through grep -q, whose early exit would fail the pipe.
  local info
  info=$(apt-cache showsrc libarchive 2>/dev/null) || return 1
  grep '^Package: libarchive$' >/dev/null <<<"$info"
}

if [ "$mode" = windows ] && ! has_archive_source; then
  . /etc/os-release
  entries=$(deb_src_entries "$VERSION_CODENAME")
  if [ -z "$entries" ]; then
    echo "apt has no deb entry for $VERSION_CODENAME to take the source packages from" >&2
    exit 1
  fi
  wanted_list="# Added by Vidorun's scripts/install-deps.sh from this machine's own deb
# entries: apt-get source libarchive, for Vidorun.exe.
$entries"
  if [ "$(cat "$source_list" 2>/dev/null)" != "$wanted_list" ]; then
    echo "Adding the Debian source packages of $VERSION_CODENAME to apt, as $source_list"
    printf '%s\n' "$wanted_list" | as_root tee "$source_list.new" >/dev/null
    as_root mv -f "$source_list.new" "$source_list"
  fi
  update_needed=1
fi

# A dpkg run that was cut short leaves packages half-configured, and apt
# refuses to install anything until they are. While another apt or dpkg is
# at work its packages look half-done too: then its lock is held, and this
# waits for it (up to ten minutes) instead of failing or taking its work.
configure_pending() {
  local attempt errors
  for attempt in $(seq 60); do
    [ -z "$(dpkg --audit 2>/dev/null)" ] && return 0
    [ "$attempt" = 1 ] && echo "Finishing the configuration of packages that an earlier run left half-done"
    if errors=$(as_root dpkg --configure -a 2>&1 >/dev/null); then
      return 0
    fi
    if ! grep -q "lock" <<<"$errors"; then
      printf '%s\n' "$errors" >&2
      return 1
    fi
    [ "$attempt" = 1 ] && echo "Another package manager is at work; waiting for it"
    sleep 10
  done
  echo "dpkg stayed locked for ten minutes; try again when the other package manager is done" >&2
  return 1
}
configure_pending

missing=()
for p in "${wanted[@]}"; do
  if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
    missing+=("$p")
  fi
done
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -eq 0 ]; then
  [ -n "$update_needed" ] && as_root apt-get -o DPkg::Lock::Timeout=600 update -qq
  exit 0
fi

echo "Installing missing Debian packages: ${missing[*]}"
as_root apt-get -o DPkg::Lock::Timeout=600 update -qq
as_root apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
