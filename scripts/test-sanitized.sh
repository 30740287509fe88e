#!/usr/bin/env bash
# The test suite built with AddressSanitizer and UndefinedBehaviorSanitizer
# (the "asan" preset of CMakePresets.json, into build-asan/): packages, build,
# every test. Arguments go to ctest (-L platform, -R ProcWalkTest, -L e2e,
# ...). Each test fails on any sanitizer report of its own or of a program it
# starts (tests/run-in-session.sh sets the options).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
build=${ZK_ASAN_BUILD_DIR:-$top/build-asan}
ZK_BUILD_DIR="$build" ZK_CMAKE_ARGS="--preset asan ${ZK_CMAKE_ARGS:-}" "$top/scripts/build.sh"
cd "$build"
ctest --output-on-failure -j 2 "$@"
