#!/usr/bin/env bash
# Runs a Windows program under wine as if it were a Linux program: the same arguments, working
# folder, standard streams and exit status, and nothing of wine's own on standard error.
# Usage: WINEPREFIX=FOLDER tests/wine/run_exe.sh PROGRAM.exe [ARGUMENT...]
set -u
. "$(dirname "$0")/wine_env.sh"
exec wine "$@"
