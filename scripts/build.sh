#!/usr/bin/env bash
# Configures and builds into build/ (or $ZK_BUILD_DIR).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZK_BUILD_DIR:-$top/build}
cmake -S "$top" -B "$build" -G Ninja ${ZK_CMAKE_ARGS:-}

# Sources are found by folder globs. When a file comes or goes, CMake 3.25's
# automoc under Ninja can miss the .moc of a new file in an existing build
# folder; forgetting its timestamps makes it look at every source again.
sources=$(cd "$top" && find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print \
          | sort | md5sum | cut -d' ' -f1)
if [ "$(cat "$build/.zk-sources" 2>/dev/null)" != "$sources" ]; then
  find "$build" -path '*_autogen/timestamp' -delete 2>/dev/null || true
fi
cmake --build "$build" -j "$(nproc)"
echo "$sources" > "$build/.zk-sources"
