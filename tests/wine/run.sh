#!/usr/bin/env bash
# Builds the Windows program with mingw-w64 (in build-windows) and runs every end-to-end case
# through it under wine, from the Linux tests (in build): the same script bytes, status and
# messages as the Linux program. Needs the Debian packages g++-mingw-w64-x86-64 and wine64.
# Usage: tests/wine/run.sh [Linux build folder] [Windows build folder]
set -euo pipefail
cd "$(dirname "$0")/../.."
linux_build="${1:-build}"
windows_build="${2:-build-windows}"
cmake -S . -B "$windows_build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DD2L_WERROR=ON >/dev/null
cmake --build "$windows_build" -j2
cmake -S . -B "$linux_build" -DD2L_WERROR=ON -DBUILD_TESTING=ON \
  -DD2L_WINDOWS_PROGRAM="$(pwd)/$windows_build/dungeon2lua.exe" >/dev/null
cmake --build "$linux_build" -j2
ctest --test-dir "$linux_build" -L wine --output-on-failure
