#!/usr/bin/env bash
# Installs the Debian packages that Vidorun's build, run or tests need and
# that this machine lacks. Looks first, so a second call never touches apt.
#   scripts/install-deps.sh run    what building and running the program needs
#   scripts/install-deps.sh test   that, plus what the test suite needs
#   scripts/install-deps.sh package  what run needs, plus what building the .deb needs
#   scripts/install-deps.sh fuzz   what run needs, plus clang with libFuzzer for the fuzz targets
#   scripts/install-deps.sh bench  what run needs, plus Google Benchmark, Xvfb and Python
#   scripts/install-deps.sh windows  what cross-building and testing Vidorun.exe needs, and
#                                  the Debian source of qt6-base within reach of apt-get source
set -euo pipefail

run_packages=(cmake make g++ pkg-config qt6-base-dev libgl-dev fonts-liberation2 xdg-utils)
package_packages=(dpkg-dev file)
test_packages=(googletest libgtest-dev libgmock-dev mingw-w64 desktop-file-utils appstream dpkg-dev file lintian)
fuzz_packages=(clang libclang-rt-dev)
bench_packages=(libbenchmark-dev xvfb xauth python3)
windows_packages=(g++-mingw-w64-x86-64-posix ninja-build dpkg-dev xz-utils wine wine64 xvfb xauth xdotool imagemagick googletest fonts-liberation2)

mode=${1:-run}
case "$mode" in
  run) wanted=("${run_packages[@]}") ;;
  test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
  package) wanted=("${run_packages[@]}" "${package_packages[@]}") ;;
  fuzz) wanted=("${run_packages[@]}" "${fuzz_packages[@]}") ;;
  bench) wanted=("${run_packages[@]}" "${bench_packages[@]}") ;;
  windows) wanted=("${run_packages[@]}" "${windows_packages[@]}") ;;
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

# The Windows Qt is built from Debian's source package, which apt finds only
# through a deb-src entry for this release.
source_list=/etc/apt/sources.list.d/vidorun-deb-src.sources
update_needed=
if [ "$mode" = windows ] && ! apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Package: qt6-base'; then
  . /etc/os-release
  echo "Adding the Debian source packages of $VERSION_CODENAME to apt, as $source_list"
  as_root tee "$source_list" >/dev/null <<SOURCES
# Added by Vidorun's scripts/install-deps.sh: apt-get source qt6-base, for the
# Qt that Vidorun.exe is cross-built with.
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $VERSION_CODENAME $VERSION_CODENAME-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  update_needed=1
fi

missing=()
for p in "${wanted[@]}"; do
  if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
    missing+=("$p")
  fi
done
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -eq 0 ]; then
  [ -n "$update_needed" ] && as_root apt-get update -qq
  exit 0
fi

echo "Installing missing Debian packages: ${missing[*]}"
as_root apt-get update -qq
as_root apt-get install -y -qq --no-install-recommends "${missing[@]}"
