#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (packages, build) and runs the simulated
# phone with zKestrel resident on it (sim/run-phone.sh): on $DISPLAY, or on a
# virtual screen served over VNC on localhost behind a password made for the
# run (port $ZK_VNC_PORT, default 5900, or the next free one). The build's
# progress is shown: the first one takes minutes.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
build=${ZK_BUILD_DIR:-$top/build}
exec bash "$top/sim/run-phone.sh" "$build/bin"
