#!/bin/sh
# Replays the checked-in corpus of every fuzz target once (built with sanitizers by each
# target's script) and writes the outcome for ./test: one result per target.
#
#   tests/fuzz/replay.sh [results.json]
set -u

here=$(cd "$(dirname "$0")" && pwd)
out=${VINDLE_FUZZ_BUILD:-$here/../../build/fuzz}
mkdir -p "$out"
passed=0
failed=0
for name in xml_tokenizer settings_file number_text installation_file color_clipboard; do
  if "$here/fuzz.sh" "$name" replay >"$out/replay-$name.log" 2>&1; then
    passed=$((passed + 1))
    echo "fuzz replay $name: passed"
  else
    failed=$((failed + 1))
    echo "fuzz replay $name: FAILED (see $out/replay-$name.log)"
    tail -20 "$out/replay-$name.log"
  fi
done
[ -n "${1:-}" ] && printf '{"passed": %d, "failed": %d}\n' "$passed" "$failed" >"$1"
[ "$failed" -eq 0 ]
