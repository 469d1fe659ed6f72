#!/bin/sh
# Builds the settings-file fuzz target with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and either replays the checked-in corpus or fuzzes; the
# counterpart of build.sh for the settings reader and writer.
#
#   tests/fuzz/settings_file.sh              build only
#   tests/fuzz/settings_file.sh replay       build, then run every corpus file once (for ./test)
#   tests/fuzz/settings_file.sh fuzz [SECS]  build, then fuzz for SECS seconds (default 600) into
#                                            build/fuzz/settings_file_corpus/, seeded with the
#                                            checked-in corpus
#   tests/fuzz/settings_file.sh merge        add the inputs of that corpus that reach something
#                                            new to the checked-in corpus
#
# Output goes to build/fuzz/ (or $VINDLE_FUZZ_BUILD). Needs clang and its libFuzzer runtime
# (Debian: clang, libclang-rt-dev).
set -eu

root=$(cd "$(dirname "$0")/../.." && pwd)
out=${VINDLE_FUZZ_BUILD:-$root/build/fuzz}
target=settings_file
corpus=$root/tests/fuzz/corpus/$target
work=$out/${target}_corpus
binary=$out/${target}_fuzz
mkdir -p "$out"

# The whole portable settings core: the tree, the tokenizer, the reader and writer.
sources="$root/tests/fuzz/${target}_fuzz.cpp $(ls "$root"/src/settings/*.cpp)"
newest=$(ls -t $sources "$root"/src/settings/*.h "$0" | head -n 1)
if [ ! -x "$binary" ] || [ "$newest" -nt "$binary" ]; then
  ${CXX_FUZZ:-clang++} -std=c++20 -g -O1 -Wall -Wextra \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$root/src" $sources -o "$binary"
fi

case "${1:-build}" in
  build) ;;
  replay)
    "$binary" -runs=0 -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$out/${target}-" "$corpus" ;;
  fuzz)
    mkdir -p "$work"
    "$binary" -max_total_time="${2:-600}" -timeout=5 -rss_limit_mb=2048 -max_len=16384 \
      -artifact_prefix="$out/${target}-" -dict="$root/tests/fuzz/$target.dict" -print_final_stats=1 \
      "$work" "$corpus" ;;
  merge)
    "$binary" -merge=1 -artifact_prefix="$out/${target}-" "$corpus" "$work" ;;
  *) echo "usage: $0 [build|replay|fuzz [seconds]|merge]" >&2; exit 2 ;;
esac
