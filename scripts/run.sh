#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (packages, build) and runs the simulated
# phone with zKestrel resident on it (sim/run-phone.sh): on $DISPLAY, or on a
# virtual screen served over VNC on localhost:5900 ($ZK_VNC_PORT).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" >/dev/null
build=${ZK_BUILD_DIR:-$top/build}
exec bash "$top/sim/run-phone.sh" "$build/bin"
