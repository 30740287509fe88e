#!/usr/bin/env bash
# Checks the layout of the project's C++ sources against .clang-format
# (clang-format 14, from scripts/packages.txt). Build folders and fuzz corpora
# are not sources. Files named in scripts/format-pending.txt keep their
# present layout for now and are skipped.
#
#   check-format.sh                   list what differs; fails if anything does
#   check-format.sh --fix             rewrite the checked files in place
#   check-format.sh --update-pending  name every file that differs today in
#                                     format-pending.txt (after a merge, to
#                                     accept the merged files as they are)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
pending=scripts/format-pending.txt
format=${CLANG_FORMAT:-clang-format}

sources() {
  git ls-files -- '*.cpp' '*.h' | grep -v -E '^(build[^/]*|fuzz/corpus)/' || true
}

case "${1:-}" in
  --update-pending)
    {
      sed -n '/^#/p' "$pending" 2>/dev/null
      mapfile -t all < <(sources)
      "$format" --dry-run "${all[@]}" 2>&1 \
        | sed -n -E 's/^([^:]+):[0-9]+:[0-9]+: warning: .*-Wclang-format-violations.*/\1/p' | sort -u
    } > "$pending.new"
    mv "$pending.new" "$pending"
    echo "$(grep -c -v '^#' "$pending") files pending in $pending"
    exit 0
    ;;
esac

mapfile -t files < <(sources | grep -v -x -F -f <(grep -v -E '^\s*(#|$)' "$pending" 2>/dev/null || true))
if [ "${1:-}" = "--fix" ]; then
  "$format" -i "${files[@]}"
  exit 0
fi
if ! "$format" --dry-run --Werror "${files[@]}"; then
  echo "check-format: layout differs from .clang-format (scripts/check-format.sh --fix rewrites it)" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files in the layout of .clang-format"
