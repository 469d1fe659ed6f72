#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over src/: the portable core with the host
# tree's compile commands, the Win32 layer (src/gui/, src/*/win32/, src/app/Vindle.cpp) with
# those of the clang MinGW tree (preset win32-clang), which only needs configuring. Prints each
# finding once as "file:line:column: check", a count per check, and exits 1 when there is any.
# clang-tidy's whole output is kept in build/tidy/tidy.log.
#
#   tools/tidy.sh
set -u
cd "$(dirname "$(readlink -f "$0")")/.."
root=$PWD

source tools/deps.sh
vindle_ensure_packages || exit 1

out="$root/build/tidy"
rm -rf "$out"
mkdir -p "$out/files"
jobs=$(nproc 2>/dev/null || echo 2)

for preset in host win32-clang; do
  if ! cmake --preset "$preset" >"$out/$preset-configure.log" 2>&1; then
    echo "configuring $preset failed:"; tail -20 "$out/$preset-configure.log"; exit 2
  fi
done

# The files of a tree's compile commands whose path matches a pattern.
sources() {
  python3 -c 'import json, re, sys
print("\n".join(sorted({e["file"] for e in json.load(open(sys.argv[1])) if re.search(sys.argv[2], e["file"])})))' \
    "build/$1/compile_commands.json" "$2"
}

# One clang-tidy per file, each into its own log; a file clang-tidy cannot compile is noted.
tidy() {
  sources "$1" "$2" | xargs -r -P "$jobs" -I{} sh -c \
    'clang-tidy --quiet -p "$1" "$2" >"$3/$(echo "$2" | tr / _).log" 2>&1 || echo "$2" >>"$3/failed"' \
    sh "build/$1" {} "$out/files"
}
tidy host "^$root/src/"
tidy win32-clang "^$root/src/(gui/|[^/]+/win32/|app/Vindle\\.cpp$)"
cat "$out"/files/*.log >"$out/tidy.log" 2>/dev/null

# A header's finding is reported by every file that includes it: each is listed once.
grep -E '^/.*:[0-9]+:[0-9]+: (warning|error): .*\[[^]]+\]$' "$out/tidy.log" |
  sed -E "s|^$root/||; s|^([^:]+:[0-9]+:[0-9]+): [a-z]+: .*\[([^]]+)\]$|\1: \2|" | sort -u -V >"$out/findings.txt"
count=$(wc -l <"$out/findings.txt")
if [ "$count" -gt 0 ]; then
  cat "$out/findings.txt"
  echo
  sed -E 's/.*: //' "$out/findings.txt" | sort | uniq -c | sort -rn
  echo "clang-tidy: $count findings (build/tidy/findings.txt; the whole output in build/tidy/tidy.log)"
  exit 1
fi
if [ -s "$out/files/failed" ]; then
  echo "clang-tidy failed on:"; cat "$out/files/failed"
  exit 1
fi
echo "clang-tidy: no findings"
