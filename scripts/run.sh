#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (packages, build) and runs zKestrel in a
# window. Arguments go to zKestrel (e.g. -daemon).
#
# - With a display ($DISPLAY or $WAYLAND_DISPLAY) the window opens on it.
# - Without one, a virtual X screen of the phone's size is made and served
#   over VNC on localhost only (port $ZK_VNC_PORT, default 5900).
# - Without a session bus, a private one is started for this run; its
#   address is printed so that qcop in another shell can reach zKestrel.
# - The configuration lives in $EZX_APP_WRITE_PATH, by default
#   ~/.local/share/zKestrel, so it survives runs.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" >/dev/null
build=${ZK_BUILD_DIR:-$top/build}

export EZX_APP_WRITE_PATH=${EZX_APP_WRITE_PATH:-$HOME/.local/share/zKestrel}
mkdir -p "$EZX_APP_WRITE_PATH/setup"

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT INT TERM

if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  bus_info=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
  DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus_info")
  pids+=("$(sed -n 2p <<<"$bus_info")")
  export DBUS_SESSION_BUS_ADDRESS
  echo "Session bus for this run (for qcop in another shell):"
  echo "  export DBUS_SESSION_BUS_ADDRESS='$DBUS_SESSION_BUS_ADDRESS'"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  port=${ZK_VNC_PORT:-5900}
  n=99
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 240x320x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=("$!")
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  x11vnc -display ":$n" -localhost -rfbport "$port" -nopw -forever -shared -quiet \
    >/dev/null 2>&1 &
  pids+=("$!")
  export DISPLAY=":$n"
  export QT_QPA_PLATFORM=xcb
  echo "No display: zKestrel is served over VNC at localhost:$port"
  echo "  connect with a VNC viewer, e.g.  vncviewer localhost:$port"
  echo "  from another machine:            ssh -L $port:localhost:$port <this host>"
fi

echo "Keys: F1 green, F2 red, F3 C, arrows, Return select, F10 left soft key, Escape right soft key"
"$build/bin/zKestrel" "$@"
