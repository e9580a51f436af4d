#!/usr/bin/env bash
# Runs the web build's command-line program under node as if it were the native program: the same
# arguments, working folder, standard streams and exit status.
# Usage: tests/web/run_node.sh PROGRAM.js [ARGUMENT...]
set -u
exec node "$@"
