#!/usr/bin/env bash
# Runs the simulated phone with zKestrel resident on it:
#   run-phone.sh [BIN_DIR]      (BIN_DIR: the build's bin/, default build/bin)
#
# - A private session bus when none is there (its own dbus-daemon).
# - On $DISPLAY when it is set; otherwise on a virtual screen (Xvfb) served
#   over VNC on localhost:$ZK_VNC_PORT (default 5900), whose address is printed.
# - The phone's storage is a fresh copy of sim/device for every run
#   (EZX_DEVICE_ROOT); zKestrel's configuration lives in $EZX_APP_WRITE_PATH,
#   by default ~/.local/share/zKestrel, and survives runs.
# - Starts the system service, the application manager, an SDL program, the
#   phone (idle screen), Messages, File Manager (memory card), Notes (through
#   the loader), Snake (Java), then zKestrel -daemon, pops its window up and
#   shows the keypad.
# Ctrl-C ends everything this script started, and nothing else.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "${1:-$here/../build/bin}" && pwd)

# Every program runs in a process group of its own (job control), so that
# the cleanup ends each one together with the applications it started.
set -m
groups=()
workdir=$(mktemp -d "${TMPDIR:-/tmp}/zk-phone.XXXXXX")
bus_pid=
cleanup() {
  trap - INT TERM HUP EXIT
  for ((i = ${#groups[@]} - 1; i >= 0; i--)); do
    kill -TERM -- "-${groups[i]}" 2>/dev/null || true
  done
  sleep 0.3
  for g in "${groups[@]}"; do kill -KILL -- "-$g" 2>/dev/null || true; done
  if [ -n "$bus_pid" ]; then kill -TERM "$bus_pid" 2>/dev/null || true; fi
  rm -rf "$workdir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# A private session bus when there is none. The script starts the daemon
# itself (rather than re-running under dbus-run-session) so that a signal to
# this script's pid reaches the cleanup above.
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
  bus_pid=$(sed -n 2p <<<"$bus")
  DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
  export DBUS_SESSION_BUS_ADDRESS
fi

started() { groups+=("$!"); }

export EZX_APP_WRITE_PATH=${EZX_APP_WRITE_PATH:-$HOME/.local/share/zKestrel}
mkdir -p "$EZX_APP_WRITE_PATH/setup"
cp -a "$here/device" "$workdir/device"
export EZX_DEVICE_ROOT=$workdir/device

if [ -z "${DISPLAY:-}" ]; then
  port=${ZK_VNC_PORT:-5900}
  n=20
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 520x360x24 -nolisten tcp >"$workdir/xvfb.log" 2>&1 &
  started
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  export DISPLAY=":$n"
  x11vnc -display "$DISPLAY" -localhost -rfbport "$port" -nopw -forever -shared -quiet \
    >"$workdir/x11vnc.log" 2>&1 &
  started
  echo "The phone is on a virtual screen: connect a VNC viewer to localhost:$port"
  echo "  (from another machine: ssh -L $port:localhost:$port <this host>)"
fi
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-xcb}

demo="$bin/zk-demoapp"
"$bin/zk-system" &
started
"$bin/zk-appmanager" --demoapp "$demo" &
started
"$bin/zk-sdlstub" &
started

wait_for() {   # channel
  for _ in $(seq 100); do "$bin/qcop" --registered "$1" && return 0; sleep 0.1; done
  echo "run-phone: $1 did not come up" >&2
  return 1
}
wait_for /AM/Launcher
wait_for EZX/System

# The applications start through the application manager, by their AppID, so
# that each runs under its registry command line (as /proc shows it).
launch() { "$bin/qcop" /AM/Launcher launchApp4NoLockCheck "$1"; sleep 0.4; }
launch '{0a6c5e10-1f2b-4c3d-8e4f-000000000001}'   # Phone (idle screen)
launch '{0a6c5e10-1f2b-4c3d-8e4f-000000000002}'   # Messages
launch '{7d3b9a20-5e61-4f08-b2c4-000000000101}'   # File Manager, memory card
launch '{7d3b9a20-5e61-4f08-b2c4-000000000102}'   # Notes, through the loader
launch '{7d3b9a20-5e61-4f08-b2c4-000000000103}'   # Snake, Java MIDlet 37

"$bin/zKestrel" -daemon &
started
zk_group=$!
wait_for PE/zKestrel/
"$bin/qcop" PE/zKestrel/ 'show()'
"$bin/zk-keypad" --at 250,0 &
started

cat <<TEXT
zKestrel is resident; its window is up.
  Task key:  the keypad's "Task key", or  qcop /hardkey/bc 'keyMsg(int,int)' 4159 1
  Keys:      F1 green, F2 red, F3 C, arrows, Return select, F10 left soft key, Escape right soft key
  Bus:       export DBUS_SESSION_BUS_ADDRESS='$DBUS_SESSION_BUS_ADDRESS'
  Storage:   $EZX_DEVICE_ROOT   Configuration: $EZX_APP_WRITE_PATH/setup/zKestrel.cfg
Ctrl-C ends the phone.
TEXT
wait "$zk_group"
