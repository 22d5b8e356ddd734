#!/usr/bin/env bash
# Installs the Debian packages that Vidorun's build, run or tests need and
# that this machine lacks. Looks first, so a second call never touches apt.
#   scripts/install-deps.sh run    what building and running the program needs
#   scripts/install-deps.sh test   that, plus what the test suite needs
#   scripts/install-deps.sh package  what run needs, plus what building the .deb needs
#   scripts/install-deps.sh fuzz   what run needs, plus clang with libFuzzer for the fuzz targets
#   scripts/install-deps.sh bench  what run needs, plus Google Benchmark, Xvfb and Python
set -euo pipefail

run_packages=(cmake make g++ pkg-config qt6-base-dev libgl-dev fonts-liberation2 xdg-utils)
package_packages=(dpkg-dev file)
test_packages=(googletest libgtest-dev libgmock-dev mingw-w64 desktop-file-utils appstream dpkg-dev file lintian)
fuzz_packages=(clang libclang-rt-dev)
bench_packages=(libbenchmark-dev xvfb xauth python3)

case "${1:-run}" in
  run) wanted=("${run_packages[@]}") ;;
  test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
  package) wanted=("${run_packages[@]}" "${package_packages[@]}") ;;
  fuzz) wanted=("${run_packages[@]}" "${fuzz_packages[@]}") ;;
  bench) wanted=("${run_packages[@]}" "${bench_packages[@]}") ;;
  *) echo "usage: $0 run|test|package|fuzz|bench" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing Debian packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "These packages are missing and I am not root and have no sudo: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
