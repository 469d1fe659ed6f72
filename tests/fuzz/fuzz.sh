#!/bin/sh
# Builds a fuzz target with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and either replays its checked-in corpus or fuzzes.
#
#   tests/fuzz/fuzz.sh TARGET              build only
#   tests/fuzz/fuzz.sh TARGET replay       build, then run every corpus file once (for ./test)
#   tests/fuzz/fuzz.sh TARGET fuzz [SECS]  build, then fuzz for SECS seconds (default 600) into
#                                          build/fuzz/TARGET_corpus/, seeded with the checked-in corpus
#   tests/fuzz/fuzz.sh TARGET merge        add the inputs of that corpus that reach something
#                                          new to the checked-in corpus
#
# Targets: xml_tokenizer (the XML tokenizer and escaping), settings_file (loading a settings
# file into a fresh tree and writing it back), number_text (integer and float texts of the
# settings file and the numeric edit fields), installation_file (reading "Installation.xml"),
# color_clipboard (clipboard text read as a colour). Output goes to build/fuzz/ (or
# $VINDLE_FUZZ_BUILD). Needs clang and its libFuzzer runtime (Debian: clang, libclang-rt-dev).
set -eu

root=$(cd "$(dirname "$0")/../.." && pwd)
out=${VINDLE_FUZZ_BUILD:-$root/build/fuzz}
target=${1:-}
mode=${2:-build}
case "$target" in
  xml_tokenizer)
    sources="$root/src/settings/QorvelXml.cpp $root/src/settings/ByteStreams.cpp $root/src/settings/host/HostFileStreams.cpp"
    max_len=8192 ;;
  settings_file)
    # The whole portable settings core: the tree, the tokenizer, the reader and writer.
    sources=$(ls "$root"/src/settings/*.cpp "$root"/src/settings/host/*.cpp)
    max_len=16384 ;;
  number_text)
    # The number texts of the settings file and of the numeric edit fields.
    sources="$(ls "$root"/src/settings/*.cpp "$root"/src/settings/host/*.cpp) $root/src/controls/NumberTextRules.cpp"
    max_len=256 ;;
  installation_file)
    # Reading and writing "Installation.xml" over the tokenizer.
    sources="$root/src/install/UninstallConfiguration.cpp $root/src/settings/QorvelXml.cpp $root/src/settings/ByteStreams.cpp $root/src/settings/host/HostFileStreams.cpp"
    max_len=8192 ;;
  color_clipboard)
    sources="$root/src/color/ColorClipboardText.cpp $root/src/ruler/QorvelColorUtils.cpp"
    max_len=64 ;;
  *) echo "usage: $0 xml_tokenizer|settings_file|number_text|installation_file|color_clipboard [build|replay|fuzz [seconds]|merge]" >&2; exit 2 ;;
esac
sources="$root/tests/fuzz/${target}_fuzz.cpp $sources"
corpus=$root/tests/fuzz/corpus/$target
work=$out/${target}_corpus
binary=$out/${target}_fuzz
mkdir -p "$out"

newest=$(ls -t $sources "$root"/src/*/*.h "$root"/tests/shared/*.h "$0" | head -n 1)
if [ ! -x "$binary" ] || [ "$newest" -nt "$binary" ]; then
  ${CXX_FUZZ:-clang++} -std=c++20 -g -O1 -Wall -Wextra \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$root/src" -I"$root/tests/shared" $sources -o "$binary"
fi

case "$mode" in
  build) ;;
  replay)
    # -runs=0 executes each corpus file once and stops; any crash, leak or sanitizer report
    # ends with a non-zero exit.
    "$binary" -runs=0 -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$out/${target}-" "$corpus" ;;
  fuzz)
    mkdir -p "$work"
    "$binary" -max_total_time="${3:-600}" -timeout=5 -rss_limit_mb=2048 -max_len="$max_len" \
      -artifact_prefix="$out/${target}-" -dict="$root/tests/fuzz/$target.dict" -print_final_stats=1 \
      "$work" "$corpus" ;;
  merge)
    "$binary" -merge=1 -artifact_prefix="$out/${target}-" "$corpus" "$work" ;;
  *) echo "usage: $0 $target [build|replay|fuzz [seconds]|merge]" >&2; exit 2 ;;
esac
