#!/usr/bin/env bash
# Checks the table of layers in docs/ARCHITECTURE.md against the sources:
# for each folder of the table, the project folders its sources include
# must be exactly those its row lists, and of the task manager's subject
# folders only the main window's own files (zkestrel_*.cpp) include ui/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
page=docs/ARCHITECTURE.md
status=0
# Table rows of the Layers section: | `folder/` | what | includes |
rows=$(awk '/^## Layers/{on=1; next} /^## /{on=0} on && /^\| `[a-z]+\/` \|/' "$page")
[ -n "$rows" ] || { echo "check-layers: no table of layers in $page" >&2; exit 1; }
checked=0
while IFS= read -r row; do
  folder=$(sed -E 's/^\| `([a-z]+)\/`.*/\1/' <<<"$row")
  [ -d "$folder" ] || continue
  listed=$(awk -F'|' '{print $(NF-1)}' <<<"$row" | { grep -oE '`[a-z]+/`' || true; } | tr -d '`/' | sort -u | tr '\n' ' ')
  used=$(find "$folder" -maxdepth 1 \( -name '*.cpp' -o -name '*.h' \) -print0 \
         | xargs -0 grep -hoE '^#include "[a-z]+/' \
         | sed -E 's/#include "([a-z]+)\//\1/' | grep -vx "$folder" | sort -u | tr '\n' ' ' || true)
  if [ "$listed" != "$used" ]; then
    echo "check-layers: $folder/ includes [ $used] but $page lists [ $listed]" >&2
    status=1
  fi
  checked=$((checked + 1))
done <<<"$rows"
for folder in process monitor catalogue; do
  for f in $(grep -lE '^#include "ui/' "$folder"/*.cpp "$folder"/*.h 2>/dev/null || true); do
    case ${f##*/} in
      zkestrel_*.cpp) ;;
      *) echo "check-layers: $f includes ui/, which only the main window's own files may" >&2; status=1 ;;
    esac
  done
done
[ "$status" -eq 0 ] && echo "check-layers: the includes of $checked folders are those of $page"
exit "$status"
