#!/usr/bin/env bash
# Builds the web build with emscripten (in build-web) and, from the native tests (in build), runs
# every end-to-end case through its command-line program under node, then its page,
# dungeon2lua.html, in headless Chromium through WebDriver against the native program. Needs the
# Debian packages emscripten, chromium, chromium-driver and python3-selenium. The native build
# folder keeps its configuration: its own test run stays as it was.
# Usage: tests/web/run.sh [native build folder] [web build folder]
set -euo pipefail
cd "$(dirname "$0")/../.."
native_build="$(realpath -m "${1:-build}")"
web_build="$(realpath -m "${2:-build-web}")"
emcmake cmake -S . -B "$web_build" -DD2L_WERROR=ON >/dev/null
cmake --build "$web_build" -j2
if [ ! -f "$native_build/CMakeCache.txt" ]; then
  cmake -S . -B "$native_build" -DD2L_WERROR=ON -DBUILD_TESTING=ON >/dev/null
fi
cmake --build "$native_build" -j2 --target unit_tests dungeon2lua

D2L_CONVERTER="'$(pwd)/tests/web/run_node.sh' '$web_build/node/dungeon2lua.js'" \
  "$native_build/tests/unit_tests" --gtest_filter='Cases/*' --gtest_brief=1
/usr/bin/python3 tests/web/page_test.py --page "$web_build/dungeon2lua.html" --program "$native_build/dungeon2lua"
echo "every end-to-end case passed through $web_build/node/dungeon2lua.js under node," \
     "and dungeon2lua.html ($(stat -c %s "$web_build/dungeon2lua.html") bytes) in headless Chromium"
