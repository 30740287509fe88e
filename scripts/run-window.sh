#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (packages, build) and runs zKestrel in a
# window on its own, without the simulated phone:
#   run-window.sh [--sim-device] [ZKESTREL ARGUMENTS...]    e.g. -daemon
#
# - The phone's storage (registries, Java catalogue, memory card, clock file)
#   is looked up below $EZX_DEVICE_ROOT. Unset, that is the machine's own
#   root, which has none of it: the Add dialog is empty, there is no memory
#   card, and the clock is the machine's. --sim-device uses a fresh copy of
#   the simulated phone's storage (sim/device) instead.
# - With a display ($DISPLAY or $WAYLAND_DISPLAY) the window opens on it.
# - Without one, a virtual X screen of the phone's size is made and served
#   over VNC on localhost, to the holder of a password made for the run
#   (scripts/virtual-screen.sh); port $ZK_VNC_PORT (default 5900) or the
#   next free one.
# - Without a session bus, a private one is started for this run.
# - The configuration lives in $EZX_APP_WRITE_PATH, by default
#   ~/.local/share/zKestrel, so it survives runs.
# How to reach it (keys, qcop from another shell, VNC) is printed once
# zKestrel is up.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
sim_device=false
if [ "${1:-}" = --sim-device ]; then
  sim_device=true
  shift
fi
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
build=${ZK_BUILD_DIR:-$top/build}
bin=$(cd "$build/bin" && pwd)
# shellcheck source=virtual-screen.sh
source "$top/scripts/virtual-screen.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/zk-window.XXXXXX")
pids=()
cleanup() {
  trap - INT TERM HUP EXIT
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

zk_runtime_dir "$work"
export EZX_APP_WRITE_PATH=${EZX_APP_WRITE_PATH:-$HOME/.local/share/zKestrel}
mkdir -p "$EZX_APP_WRITE_PATH/setup"
if $sim_device; then
  cp -a "$top/sim/device" "$work/device"
  export EZX_DEVICE_ROOT=$work/device
fi
# qcop and the rest of the build's programs, for this run.
export PATH="$bin:$PATH"

if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  bus_info=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
  DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus_info")
  pids+=("$(sed -n 2p <<<"$bus_info")")
  export DBUS_SESSION_BUS_ADDRESS
fi

served=false
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  zk_start_screen 240x320x24 "$work" || exit 1
  pids+=("$zk_screen_pid")
  zk_serve_screen "$work" || exit 1
  pids+=("$zk_vnc_pid")
  served=true
  export QT_QPA_PLATFORM=xcb
fi

resident=false
if [ "${1:-}" = -daemon ]; then resident=true; fi
"$bin/zKestrel" "$@" &
zk=$!
pids+=("$zk")

# The banner comes after zKestrel's start-up lines: once it listens on its
# channel (resident) or its window is on the screen, or it has ended.
up() {
  if $resident; then
    qcop --registered PE/zKestrel/
  elif [ -n "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    [ -n "$(xdotool search --onlyvisible --pid "$zk" 2>/dev/null)" ]
  else
    qcop --registered "EZX/Application/$zk"
  fi
}
for _ in $(seq 300); do
  kill -0 "$zk" 2>/dev/null || break
  up && break
  sleep 0.1
done
sleep 0.3
if ! kill -0 "$zk" 2>/dev/null; then
  status=0
  wait "$zk" || status=$?
  [ "$status" -ne 0 ] || echo "zKestrel was already resident on this bus: it has shown its window there."
  exit "$status"
fi

if $resident; then
  echo "zKestrel is resident: its window comes up on the task key or a second start."
else
  echo "zKestrel is up: leaving its window (Exit, or the red key) ends it and this run."
fi
echo "  Keys:     F1 green, F2 red, F3 C, arrows, Return select, F10 left soft key, Escape right soft key"
if $resident; then echo "  Task key: qcop /hardkey/bc 'keyMsg(int,int)' 4159 1"; fi
cat <<TEXT
  Another shell reaches this run's bus and qcop after
    export DBUS_SESSION_BUS_ADDRESS='$DBUS_SESSION_BUS_ADDRESS' PATH="$bin:\$PATH"
  Storage:  ${EZX_DEVICE_ROOT:-/, the machine's own: no registries, Java catalogue or memory card (--sim-device uses the simulated phone's)}
  Configuration: $EZX_APP_WRITE_PATH/setup/zKestrel.cfg
TEXT
if $served; then zk_screen_help; fi
echo "Ctrl-C ends the run."

status=0
wait "$zk" || status=$?
exit "$status"
