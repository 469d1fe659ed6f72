#!/bin/sh
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and either replays the checked-in corpus or fuzzes.
#
#   tests/fuzz/build.sh              build only
#   tests/fuzz/build.sh replay       build, then run every corpus file once (for ./test)
#   tests/fuzz/build.sh fuzz [SECS]  build, then fuzz for SECS seconds (default 600) into
#                                    build/fuzz/corpus/, seeded with the checked-in corpus
#   tests/fuzz/build.sh merge        add the inputs of build/fuzz/corpus/ that reach something
#                                    new to the checked-in corpus
#
# Output goes to build/fuzz/ (or $VINDLE_FUZZ_BUILD). Needs clang and its libFuzzer runtime
# (Debian: clang, libclang-rt-dev).
set -eu

root=$(cd "$(dirname "$0")/../.." && pwd)
out=${VINDLE_FUZZ_BUILD:-$root/build/fuzz}
target=xml_tokenizer
corpus=$root/tests/fuzz/corpus/$target
binary=$out/${target}_fuzz
mkdir -p "$out"

sources="$root/tests/fuzz/${target}_fuzz.cpp $root/src/settings/QorvelXml.cpp $root/src/settings/QorvelFileStreams.cpp"
newest=$(ls -t $sources "$root"/src/settings/QorvelXml.h "$root"/src/settings/QorvelFileStreams.h \
         "$root"/src/settings/QorvelErrors.h "$0" | head -n 1)
if [ ! -x "$binary" ] || [ "$newest" -nt "$binary" ]; then
  ${CXX_FUZZ:-clang++} -std=c++20 -g -O1 -Wall -Wextra \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$root/src" $sources -o "$binary"
fi

case "${1:-build}" in
  build) ;;
  replay)
    # -runs=0 executes each corpus file once and stops; any crash, leak or sanitizer report
    # ends with a non-zero exit.
    "$binary" -runs=0 -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$out/" "$corpus" ;;
  fuzz)
    mkdir -p "$out/corpus"
    "$binary" -max_total_time="${2:-600}" -timeout=5 -rss_limit_mb=2048 -max_len=8192 \
      -artifact_prefix="$out/" -dict="$root/tests/fuzz/$target.dict" -print_final_stats=1 \
      "$out/corpus" "$corpus" ;;
  merge)
    "$binary" -merge=1 -artifact_prefix="$out/" "$corpus" "$out/corpus" ;;
  *) echo "usage: $0 [build|replay|fuzz [seconds]|merge]" >&2; exit 2 ;;
esac
