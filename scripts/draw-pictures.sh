#!/usr/bin/env bash
# Builds tools/drawpictures and draws the program's pictures into the source
# tree (img/, panel/, ezx/icons/). The pictures are committed; the normal
# build only copies them. Optional argument: a preview sheet to write.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZK_ART_BUILD_DIR:-$top/build-art}
cmake -S "$top/tools/drawpictures" -B "$build" -G Ninja >/dev/null
cmake --build "$build"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/drawpictures" "$top" "$@"
