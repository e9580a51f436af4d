#!/usr/bin/env bash
# The manual page renders without a warning from groff, and it names every option that the
# program's --help names, so that the two cannot drift apart.
# Usage: tests/manual_page.sh PAGE PROGRAM
set -euo pipefail
page="$1"
program="$2"
command -v groff >/dev/null || { echo "groff is not installed (Debian package groff-base)"; exit 1; }

warnings="$(groff -man -ww -z "$page" 2>&1)"
if [ -n "$warnings" ]; then
  echo "$page: groff warns:"
  echo "$warnings"
  exit 1
fi

# The page as plain text, on lines long enough that no option is broken.
text="$(groff -man -Tascii -P-cbou -rLL=300n "$page")"
# The options of --help: the words that begin with "-" in its column of options.
options="$("$program" --help | grep -E '^ +-' | cut -c1-22 | grep -oE -- '--?[a-z][a-z-]*')"
[ -n "$options" ] || { echo "$program --help names no option"; exit 1; }
missing=0
for option in $options; do
  if ! grep -qE -- "(^|[^a-z-])$option([^a-z-]|$)" <<<"$text"; then
    echo "$page does not name the option $option of --help"
    missing=1
  fi
done
exit $missing
