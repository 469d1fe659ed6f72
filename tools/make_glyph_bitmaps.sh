#!/bin/sh
# Regenerates res/VINDLENUMBERS0.bmp and res/VINDLEBUTTONS.bmp from the glyph art in
# src/ruler/RulerGlyphs.cpp. Run after changing the art; the unit tests compare the files
# with the art and fail when they are stale.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
${CXX:-c++} -std=c++20 -Wall -Wextra -I"$root/src" "$root/tools/make_glyph_bitmaps.cpp" \
  "$root/src/ruler/RulerGlyphs.cpp" -o "$work/make_glyph_bitmaps"
"$work/make_glyph_bitmaps" "$root/res"
