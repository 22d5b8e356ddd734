#!/usr/bin/env bash
# Builds the one library Vidorun.exe is linked with besides Windows' own: a
# static libarchive for 64-bit Windows, for the disc images, cross-built with
# Debian's mingw-w64 from Debian's own libarchive source, of the same version
# as the libarchive installed on this machine.
#
#   scripts/windows-libarchive.sh          builds it unless the cache has it; prints its folder
#   scripts/windows-libarchive.sh --key    prints the cache key only
#
# The result lives outside the source tree, in
# ${XDG_CACHE_HOME:-~/.cache}/vidorun/libarchive-<version>-<key>/, keyed by
# the version, the compiler, every option and the build steps, and is built
# once per machine (about a minute). A build that fails or is interrupted says which step
# stopped and where its log is, and leaves nothing that a later run would
# take as finished.
set -euo pipefail

# The whole script is read before any of it runs, so that editing it while
# a build is under way can't change what that build does.
main() {
here=$(cd "$(dirname "$0")" && pwd)

"$here/install-deps.sh" windows >&2

# The source package's version: a binary rebuild (+b1) has no source of its own.
libarchive_version=$(dpkg-query -W -f='${source:Version}' libarchive-dev)
cc=x86_64-w64-mingw32-gcc-posix

# The library alone, with nothing but what its ISO 9660 writer and reader
# need: no compression or crypto libraries, no tools. Static
# (LIBARCHIVE_STATIC), so that Vidorun.exe does not export its functions;
# every function in a section of its own, so that the link keeps only what
# is reached. Debian's patches leave Makefile.am newer than the Makefile.in
# made from it (they change only the tests' lists): the Makefile.in that
# comes with the source is used, not remade by automake.
libarchive_cflags="-Os -ffunction-sections -fdata-sections -DLIBARCHIVE_STATIC"
libarchive_options=(
  --host=x86_64-w64-mingw32 --disable-shared --enable-static --disable-maintainer-mode
  --without-zlib --without-bz2lib --without-libb2 --without-iconv --without-lz4 --without-zstd
  --without-lzma --without-lzo2 --without-cng --without-openssl --without-nettle --without-mbedtls
  --without-xml2 --without-expat --disable-bsdtar --disable-bsdcpio --disable-bsdcat
  --disable-acl --disable-xattr --disable-posix-regex-lib
)

fetch_source() {
  mkdir -p "$work/source" && cd "$work/source"
  apt-get source --only-source "libarchive=$libarchive_version"
}

# With its own configure script, as Debian builds it.
build_libarchive() {
  local archive_src
  archive_src=$(find "$work/source" -mindepth 1 -maxdepth 1 -type d | head -1)
  mkdir -p "$work/build" && cd "$work/build"
  "$archive_src/configure" CC="$cc" CFLAGS="$libarchive_cflags" "${libarchive_options[@]}"
  make -j "$(nproc)" libarchive.la
  install -D -m 644 .libs/libarchive.a "$prefix/lib/libarchive.a"
  install -D -m 644 -t "$prefix/include" "$archive_src/libarchive/archive.h" "$archive_src/libarchive/archive_entry.h"
  install -D -m 644 "$archive_src/COPYING" "$prefix/share/doc/libarchive/COPYING"
}

# The key covers the version, the compiler, every option and the steps
# themselves: a change to any of them builds the library again.
key=$( { echo "$libarchive_version"; $cc --version | head -1;
         printf '%s\n' "$libarchive_cflags" "${libarchive_options[@]}";
         declare -f fetch_source build_libarchive; } | sha256sum | cut -c1-12)
if [ "${1:-}" = --key ]; then echo "$key"; exit 0; fi

cache=${XDG_CACHE_HOME:-$HOME/.cache}/vidorun
prefix=$cache/libarchive-${libarchive_version%%+*}-$key
work=$cache/work-libarchive-$key
logs=$cache/logs-libarchive-$key
# Two builds at once (make windows in two trees) would spoil each other's
# work: the second waits for the first and then takes its result.
mkdir -p "$cache"
exec 9>"$cache/.lock-libarchive-$key"
if ! flock -n 9; then
  echo "Windows libarchive: another build of it is under way; waiting for it" >&2
  flock 9
fi
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

rm -rf "$prefix" "$work"
mkdir -p "$work" "$logs"
started=$SECONDS
step() {
  local name=$1; shift
  echo "Windows libarchive: $name (log: $logs/$name.log)" >&2
  # Run apart and waited for: a function called as an if's condition would
  # go on past a failed command.
  "$@" >"$logs/$name.log" 2>&1 &
  if ! wait $!; then
    echo "Windows libarchive: the step '$name' failed; its log is $logs/$name.log:" >&2
    tail -n 30 "$logs/$name.log" >&2
    rm -rf "$prefix"
    exit 1
  fi
}

step source fetch_source
step build build_libarchive
touch "$prefix/.complete"
rm -rf "$work"
echo "Windows libarchive: built in $(( SECONDS - started )) s, $(du -sh "$prefix" | cut -f1) in $prefix" >&2
echo "$prefix"
}

main "$@"
