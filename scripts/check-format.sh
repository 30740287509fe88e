#!/usr/bin/env bash
# Checks the layout of the project's C++ sources against .clang-format
# (clang-format 14, from scripts/packages.txt). Build folders and fuzz corpora
# are not sources.
#
#   check-format.sh        list what differs; fails if anything does
#   check-format.sh --fix  rewrite the sources in place
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
format=${CLANG_FORMAT:-clang-format}

mapfile -t files < <(git ls-files -- '*.cpp' '*.h' | grep -v -E '^(build[^/]*|fuzz/corpus)/' || true)
if [ "${1:-}" = "--fix" ]; then
  "$format" -i "${files[@]}"
  exit 0
fi
if ! "$format" --dry-run --Werror "${files[@]}"; then
  echo "check-format: layout differs from .clang-format (scripts/check-format.sh --fix rewrites it)" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files in the layout of .clang-format"
