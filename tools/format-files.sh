#!/usr/bin/env bash
# Prints the C++ files the format check covers, one per line, relative to the
# top of the tree: every *.cpp and *.h but the generated tables.
#
# In a git checkout git names them (tracked files only). Where git cannot
# answer for this tree (a source archive without .git, a copy inside another
# repository, or a checkout git refuses because another user owns it), the
# files are looked for on disk instead, leaving out what is never source:
# hidden folders (.git among them), the build folders at the top (build*,
# out) and any folder that holds a CMake build (a CMakeCache.txt).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$(pwd -P)" ]; then
  git ls-files '*.cpp' '*.h' ':!resources/generated'
  exit 0
fi

# A CMake build folder under any name holds a CMakeCache.txt.
prune=(-name '.*' -o -path './build*' -o -path ./out -o -path ./resources/generated)
while IFS= read -r cache; do
  prune+=(-o -path "$(dirname "$cache")")
done < <(find . -mindepth 2 -name '.*' -prune -o -name CMakeCache.txt -print)
find . -mindepth 1 \( -type d \( "${prune[@]}" \) -prune \) -o \( -type f \( -name '*.cpp' -o -name '*.h' \) -print \) |
  sed 's|^\./||' | LC_ALL=C sort
