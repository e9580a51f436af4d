#!/usr/bin/env bash
# Builds the fuzz target with clang and runs it for a bounded time, seeded with the dumps of the
# end-to-end cases and the sample dungeon, alone and behind their object name lists. Usage: tests/fuzz/run.sh [seconds] [build folder]
# Fails when the fuzzer finds an input that breaks the converter; the input is kept in
# <build folder>/findings.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${1:-120}"
build="${2:-build-fuzz}"

CXX=clang++ cmake -S . -B "$build" -DD2L_FUZZ=ON -DD2L_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target convert_fuzz

corpus="$build/corpus"
findings="$build/findings"
mkdir -p "$corpus" "$findings"
for dump in tests/cases/*/my_dungeon.txt examples/my_dungeon.txt; do
  folder="$(dirname "$dump")"
  cp "$dump" "$corpus/seed_$(basename "$folder")"
  # The same dump behind its own object name list and a NUL byte.
  if [ -f "$folder/obj_list.txt" ]; then
    { cat "$folder/obj_list.txt"; printf '\0'; cat "$dump"; } > "$corpus/seed_list_$(basename "$folder")"
  fi
done

log="$build/fuzz.log"
status=0
"$build/tests/fuzz/convert_fuzz" "$corpus" -dict=tests/fuzz/dungeon.dict -max_len=4096 -timeout=10 \
  -rss_limit_mb=2048 -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$findings/" \
  >"$log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  tail -n 80 "$log" >&2
  echo "fuzzing found a fault; the input is in $findings, the whole log in $log" >&2
  exit 1
fi
grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$log"
echo "fuzzing: no finding in ${seconds} s"
