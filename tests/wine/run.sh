#!/usr/bin/env bash
# Builds the Windows program with mingw-w64 (in build-windows) and runs every end-to-end case
# through it under wine, from the Linux tests (in build): the same script bytes, status and
# messages as the Linux program. Needs the Debian packages g++-mingw-w64-x86-64 and wine64.
# The Linux build folder keeps its configuration: its own test run stays as it was.
# Usage: tests/wine/run.sh [Linux build folder] [Windows build folder]
set -euo pipefail
cd "$(dirname "$0")/../.."
linux_build="$(realpath -m "${1:-build}")"
windows_build="$(realpath -m "${2:-build-windows}")"
cmake -S . -B "$windows_build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DD2L_WERROR=ON >/dev/null
cmake --build "$windows_build" -j2
if [ ! -f "$linux_build/CMakeCache.txt" ]; then
  cmake -S . -B "$linux_build" -DD2L_WERROR=ON -DBUILD_TESTING=ON >/dev/null
fi
cmake --build "$linux_build" -j2 --target unit_tests

export WINEPREFIX="$linux_build/wineprefix"
tests/wine/prepare.sh
D2L_CONVERTER="'$(pwd)/tests/wine/run_exe.sh' '$windows_build/dungeon2lua.exe'" \
  "$linux_build/tests/unit_tests" --gtest_filter='Cases/*' --gtest_brief=1
echo "every end-to-end case passed through $windows_build/dungeon2lua.exe under wine"
