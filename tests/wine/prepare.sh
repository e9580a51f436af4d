#!/usr/bin/env bash
# Makes the wine prefix that tests/wine/run_exe.sh runs programs in, once, so that no case pays
# for wine's first start nor sees its first-start output, and starts wine's server for the runs
# that follow (it stops itself half a minute after the last program ends).
# Usage: WINEPREFIX=FOLDER tests/wine/prepare.sh
set -eu
. "$(dirname "$0")/wine_env.sh"
ready="$WINEPREFIX/.dungeon2lua-ready"
if [ ! -f "$ready" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  # The prefix's registry is written out when the server stops.
  wineserver -w
  touch "$ready"
fi
# (A server that runs already keeps running; its output must not hold the test run's pipes open.)
wineserver -p30 </dev/null >/dev/null 2>&1 || true
