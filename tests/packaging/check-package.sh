#!/usr/bin/env bash
# Checks what Vidorun ships on Linux: the desktop entry and the AppStream file
# against the freedesktop validators, the layout `cmake --install` produces,
# and the Debian package CPack builds from the same build folder.
#   check-package.sh desktop  SOURCE_DIR
#   check-package.sh metainfo SOURCE_DIR
#   check-package.sh install  BUILD_DIR [WINDOWS_PROGRAM]
#   check-package.sh deb      BUILD_DIR [WINDOWS_PROGRAM]
# CMAKE and CPACK name the cmake and cpack programs to use. A check whose
# tools are missing exits with 77, which ctest reports as skipped.
set -euo pipefail

readonly skipped=77
readonly app_id=example.vidorun.Vidorun
readonly version=4.0.0
cmake_cmd=${CMAKE:-cmake}
cpack_cmd=${CPACK:-cpack}
failures=0

need() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "SKIP: $tool is not installed" >&2
      exit $skipped
    fi
  done
}

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Width and height of a PNG, from its IHDR chunk.
png_size() {
  local b
  read -r -a b < <(od -An -tu1 -j16 -N8 "$1")
  echo "$(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3]))x$(((b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7]))"
}

desktop_key() {
  sed -n "s/^$2=//p" "$1" | head -n 1
}

# The files an installed Vidorun consists of, below the /usr prefix, and how
# they fit together: the menu entry starts the installed program and names an
# installed icon, and the AppStream file launches that menu entry.
check_tree() {
  local root=$1 usr=$1/usr
  local share=$usr/share
  [ -x "$usr/bin/vidorun" ] || fail "usr/bin/vidorun is missing or not executable"
  local desktop=$share/applications/vidorun.desktop
  local metainfo=$share/metainfo/$app_id.metainfo.xml
  [ -f "$desktop" ] || fail "usr/share/applications/vidorun.desktop is missing"
  [ -f "$metainfo" ] || fail "usr/share/metainfo/$app_id.metainfo.xml is missing"
  local size icon
  for size in 32x32 128x128; do
    icon=$share/icons/hicolor/$size/apps/vidorun.png
    if [ ! -f "$icon" ]; then
      fail "usr/share/icons/hicolor/$size/apps/vidorun.png is missing"
    elif [ "$(png_size "$icon")" != "$size" ]; then
      fail "the $size icon is $(png_size "$icon") pixels"
    fi
  done
  [ -f "$share/doc/vidorun/copyright" ] || fail "usr/share/doc/vidorun/copyright is missing"
  [ -f "$share/doc/vidorun/changelog.gz" ] || fail "usr/share/doc/vidorun/changelog.gz is missing"
  [ -f "$share/man/man1/vidorun.1.gz" ] || fail "usr/share/man/man1/vidorun.1.gz is missing"
  if [ -f "$desktop" ]; then
    local exec_line icon_name
    exec_line=$(desktop_key "$desktop" Exec)
    icon_name=$(desktop_key "$desktop" Icon)
    [ -x "$usr/bin/${exec_line%% *}" ] || fail "the menu entry starts '$exec_line', which is not installed in usr/bin"
    [ -f "$share/icons/hicolor/32x32/apps/$icon_name.png" ] || fail "the menu entry's icon '$icon_name' is not installed"
  fi
  if [ -f "$metainfo" ]; then
    grep -q "<launchable type=\"desktop-id\">vidorun.desktop</launchable>" "$metainfo" \
      || fail "the AppStream file does not launch vidorun.desktop"
    grep -q "<id>$app_id</id>" "$metainfo" || fail "the AppStream file's id is not $app_id"
  fi
  local exe=$share/vidorun/Vidorun.exe
  if [ -n "$windows_program" ] && [ -f "$windows_program" ]; then
    if [ ! -f "$exe" ]; then
      fail "usr/share/vidorun/Vidorun.exe is missing, though $windows_program is there"
    elif ! cmp -s "$exe" "$windows_program"; then
      fail "usr/share/vidorun/Vidorun.exe is not $windows_program"
    fi
  else
    echo "note: no Vidorun.exe built (make windows), so none installed" >&2
  fi
  # Nothing of the build or the tests comes along.
  local extra
  extra=$(cd "$root" && find . -type f | sed 's|^\./||' | grep -v -E \
    '^usr/bin/vidorun$|^usr/share/man/man1/vidorun\.1\.gz$|^usr/share/vidorun/Vidorun\.exe$|^usr/share/(applications|metainfo|icons/hicolor/(32x32|128x128)/apps|doc/vidorun)/' || true)
  [ -z "$extra" ] || fail "unexpected files installed: $extra"
}

mode=${1:-}
dir=${2:-}
windows_program=${3:-}
if [ -z "$mode" ] || [ -z "$dir" ]; then
  echo "usage: $0 desktop|metainfo SOURCE_DIR, or $0 install|deb BUILD_DIR" >&2
  exit 2
fi

case "$mode" in
desktop)
  need desktop-file-validate
  desktop-file-validate "$dir/packaging/linux/vidorun.desktop" || fail "desktop-file-validate"
  ;;

metainfo)
  need appstreamcli
  appstreamcli validate --no-net "$dir/packaging/linux/$app_id.metainfo.xml" || fail "appstreamcli validate"
  ;;

install)
  need "$cmake_cmd" od
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  DESTDIR=$work/root "$cmake_cmd" --install "$dir" --prefix /usr >"$work/install.log" \
    || { cat "$work/install.log" >&2; fail "cmake --install"; }
  check_tree "$work/root"
  # AppStream's own view of the tree: the menu entry it launches and the icons.
  if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate-tree --no-net "$work/root" || fail "appstreamcli validate-tree"
  fi
  ;;

deb)
  # dpkg-shlibdeps works out the Depends line; CPack finds the ELF files with file.
  need "$cpack_cmd" dpkg-deb dpkg-shlibdeps file od lintian
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  "$cpack_cmd" -G DEB -B "$work/out" --config "$dir/CPackConfig.cmake" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; exit 1; }
  debs=("$work/out"/vidorun_*.deb)
  if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    ls -l "$work/out" >&2
    fail "cpack did not make exactly one vidorun_*.deb"
    exit 1
  fi
  deb=${debs[0]}
  arch=$(dpkg --print-architecture)
  [ "$(basename "$deb")" = "vidorun_${version}_${arch}.deb" ] || fail "package file is named $(basename "$deb")"
  field() { dpkg-deb -f "$deb" "$1"; }
  [ "$(field Package)" = vidorun ] || fail "Package: $(field Package)"
  [ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
  [ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture), not $arch"
  [ "$(field Section)" = video ] || fail "Section: $(field Section)"
  [ "$(field Maintainer)" = "The Vidorun developers <dev@vidorun.example>" ] || fail "Maintainer: $(field Maintainer)"
  depends=$(field Depends)
  for p in libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6 libc6 fonts-liberation2; do
    [[ ", $depends," == *", $p "* || ", $depends," == *", $p,"* ]] || fail "Depends lacks $p: $depends"
  done
  [[ "$(field Recommends)" == *xdg-utils* ]] || fail "Recommends lacks xdg-utils: $(field Recommends)"
  [ -n "$(field Description)" ] || fail "the package has no Description"
  dpkg-deb -x "$deb" "$work/root"
  check_tree "$work/root"
  # The listing as dpkg will install it: owned by root, the program executable.
  dpkg-deb -c "$deb" >"$work/contents"
  grep -q -E '^-rwxr-xr-x root/root .* \./usr/bin/vidorun$' "$work/contents" \
    || fail "usr/bin/vidorun is not an executable owned by root: $(grep usr/bin/vidorun "$work/contents")"
  if [ -n "$windows_program" ] && [ -f "$windows_program" ]; then
    grep -q -E '^-rw-r--r-- root/root .* \./usr/share/vidorun/Vidorun\.exe$' "$work/contents" \
      || fail "usr/share/vidorun/Vidorun.exe is not a plain file owned by root: $(grep Vidorun.exe "$work/contents")"
  fi
  if grep -v -q -E ' root/root ' "$work/contents"; then
    fail "files not owned by root: $(grep -v -E ' root/root ' "$work/contents")"
  fi
  # Debian's own checks of a package: no errors. Warnings are printed for
  # whoever reads the log.
  lintian --fail-on error --no-tag-display-limit "$deb" || fail "lintian reports errors"
  ;;

*)
  echo "unknown check: $mode" >&2
  exit 2
  ;;
esac

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "$mode: all checks passed"
