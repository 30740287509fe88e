#!/usr/bin/env bash
# Everything from a fresh Debian 12 machine to a tested build: packages,
# build, all tests, then a short run of every fuzz target (scripts/fuzz.sh,
# a few seconds each, in its own build folder).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
build=${ZK_BUILD_DIR:-$top/build}
cd "$build"
ctest --output-on-failure -j 2 "$@"
# The short fuzz run takes two targets at a time, one per core.
ZK_FUZZ_JOBS=${ZK_FUZZ_JOBS:-2} ZK_FUZZ_BUILD_DIR=${ZK_FUZZ_BUILD_DIR:-$build-fuzz} "$top/scripts/fuzz.sh"
