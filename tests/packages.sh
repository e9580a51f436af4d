#!/usr/bin/env bash
# Makes the packages with CPack and checks what an author gets from each: the .tar.gz and the .deb
# from the Linux build, the .zip from the Windows build (when that folder is given). Each carries
# the licence, the README and the guide; the Linux ones the manual page and the changelog. Debian's
# package checker, lintian, must find no error and no warning in the .deb. The .deb is installed
# into this machine (dpkg -i, needs root), its manual page opens with man, its program converts the
# sample dungeon to the same script as the build's program, and the package is removed again; the
# program unpacked from the .zip does the same under wine. With a web build folder (made with emcmake), both builds are
# configured to package its dungeon2lua.html, and every package must carry that page.
# Usage: tests/packages.sh [Linux build folder] [Windows build folder] [web build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
source_folder="$(pwd)"
linux_build="$(realpath "${1:-build}")"
windows_build="${2:-}"
web_build="${3:-}"
scratch="$(mktemp -d)"
installed=no
cleanup() {
  if [ "$installed" = yes ]; then dpkg -r dungeon2lua >/dev/null; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

fail() { echo "packages: $*" >&2; exit 1; }
# Runs cpack in the build folder given, showing its output only when it fails.
make_packages() {
  (cd "$1" && cpack -B packages >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log"; fail "cpack failed in $1"; }
}

# The script the build's own program writes for the sample dungeon: what every package must give.
mkdir "$scratch/expected"
cp examples/my_dungeon.txt examples/obj_list.txt "$scratch/expected/"
(cd "$scratch/expected" && "$linux_build/dungeon2lua")

# Converts the sample dungeon in FOLDER with the command that follows and compares the script.
converts_sample() {
  local folder="$1"; shift
  (cd "$folder" && "$@" </dev/null) || fail "$* did not convert the sample dungeon"
  cmp "$folder/LUA_dungeon.lua" "$scratch/expected/LUA_dungeon.lua" || fail "$* wrote another script"
}

# The web page, when there is one: both builds package it, and each package must hold it as built.
page=""
if [ -n "$web_build" ]; then
  page="$(realpath "$web_build")/dungeon2lua.html"
  [ -f "$page" ] || fail "$page is not built"
  for build in "$linux_build" ${windows_build:+"$windows_build"}; do
    cmake -S . -B "$build" -DD2L_WEB_BUILD="$(dirname "$page")" >/dev/null
  done
fi
# Fails unless FILE is the web page as built (when there is one).
holds_page() {
  if [ -n "$page" ]; then cmp "$1" "$page" || fail "$2 lacks dungeon2lua.html as built"; fi
}

make_packages "$linux_build"
version="$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$linux_build/CPackConfig.cmake")"
tarball="$linux_build/packages/dungeon2lua-$version-Linux.tar.gz"
deb="$(ls "$linux_build"/packages/dungeon2lua_"$version"_*.deb)"

tar -xzf "$tarball" -C "$scratch"
unpacked="$scratch/dungeon2lua-$version-Linux"
# What the .tar.gz and the .deb carry, below their root.
linux_files=(bin/dungeon2lua share/man/man1/dungeon2lua.1.gz share/doc/dungeon2lua/README.md
             share/doc/dungeon2lua/docs/guide.md share/doc/dungeon2lua/copyright share/doc/dungeon2lua/changelog.gz
             share/doc/dungeon2lua/examples/my_dungeon.txt share/doc/dungeon2lua/examples/obj_list.txt)
for file in "${linux_files[@]}"; do
  [ -f "$unpacked/$file" ] || fail "$tarball lacks $file"
done
holds_page "$unpacked/share/dungeon2lua/dungeon2lua.html" "$tarball"
cp -r "$unpacked/share/doc/dungeon2lua/examples" "$scratch/from_tarball"
converts_sample "$scratch/from_tarball" "$unpacked/bin/dungeon2lua"

command -v lintian >/dev/null || fail "lintian is not installed (Debian package lintian)"
lintian --fail-on error,warning "$deb" || fail "lintian finds errors or warnings in $deb"

dpkg -i "$deb" >/dev/null
installed=yes
for file in "${linux_files[@]}"; do
  [ -f "/usr/$file" ] || fail "$deb installs no /usr/$file"
done
[ -x /usr/bin/dungeon2lua ] || fail "$deb installs no /usr/bin/dungeon2lua"
[ "$(man -w dungeon2lua)" = /usr/share/man/man1/dungeon2lua.1.gz ] &&
  manual="$(MANPAGER=cat man dungeon2lua 2>&1)" && grep -q "^DUNGEON2LUA(1)" <<<"$manual" ||
  fail "man dungeon2lua does not show the manual page that $deb installs"
holds_page /usr/share/dungeon2lua/dungeon2lua.html "$deb"
cp -r /usr/share/doc/dungeon2lua/examples "$scratch/from_deb"
converts_sample "$scratch/from_deb" /usr/bin/dungeon2lua
dpkg -r dungeon2lua >/dev/null
installed=no
[ ! -e /usr/bin/dungeon2lua ] || fail "removing the package left /usr/bin/dungeon2lua"

if [ -n "$windows_build" ]; then
  windows_build="$(realpath "$windows_build")"
  make_packages "$windows_build"
  zip="$windows_build/packages/dungeon2lua-$version-win64.zip"
  (cd "$scratch" && cmake -E tar xf "$zip")
  unzipped="$scratch/dungeon2lua-$version-win64"
  for file in dungeon2lua.exe README.txt LICENSE.txt docs/guide.md examples/my_dungeon.txt examples/obj_list.txt; do
    [ -f "$unzipped/$file" ] || fail "$zip lacks $file"
  done
  holds_page "$unzipped/dungeon2lua.html" "$zip"
  WINEPREFIX="$linux_build/wineprefix" "$source_folder/tests/wine/prepare.sh"
  WINEPREFIX="$linux_build/wineprefix" converts_sample "$unzipped/examples" \
    "$source_folder/tests/wine/run_exe.sh" "$unzipped/dungeon2lua.exe"
fi
echo "packages checked: $(basename "$tarball") $(basename "$deb")${windows_build:+ $(basename "$zip")}${page:+, each with dungeon2lua.html}"
