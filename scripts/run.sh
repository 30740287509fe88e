#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (packages, build) and runs zKestrel.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" >/dev/null
build=${ZK_BUILD_DIR:-$top/build}
exec "$build/bin/qcop" --help
