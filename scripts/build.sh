#!/usr/bin/env bash
# Configures and builds into build/ (or $ZK_BUILD_DIR).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZK_BUILD_DIR:-$top/build}
cmake -S "$top" -B "$build" -G Ninja ${ZK_CMAKE_ARGS:-}
cmake --build "$build" -j "$(nproc)"
