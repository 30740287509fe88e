#!/usr/bin/env bash
# Runs the simulated phone with zKestrel resident on it:
#   run-phone.sh [BIN_DIR]      (BIN_DIR: the build's bin/, default build/bin)
#
# - A private session bus when none is there (its own dbus-daemon).
# - On $DISPLAY when it is set; otherwise on a virtual screen (Xvfb) served
#   over VNC on localhost, to the holder of a password made for the run
#   (scripts/virtual-screen.sh): port $ZK_VNC_PORT (default 5900), or the
#   next free one.
# - The phone's storage is a fresh copy of sim/device for every run
#   (EZX_DEVICE_ROOT); zKestrel's configuration lives in $EZX_APP_WRITE_PATH,
#   by default ~/.local/share/zKestrel, and survives runs.
# - Starts the system service, the application manager, an SDL program, the
#   phone (idle screen), Messages, File Manager (memory card), Notes (through
#   the loader), Snake (Java), then zKestrel -daemon, pops its window up and
#   shows the keypad.
# - The programs get a runtime folder of this run's own (XDG_RUNTIME_DIR),
#   and the build's bin folder on their PATH.
# How to use it (keys, qcop from another shell, VNC) is printed last, once
# the phone is up. Ctrl-C ends everything this script started, and nothing
# else.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "${1:-$here/../build/bin}" && pwd)
# shellcheck source=../scripts/virtual-screen.sh
source "$here/../scripts/virtual-screen.sh"

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

zk_runtime_dir "$workdir"
export PATH="$bin:$PATH"

export EZX_APP_WRITE_PATH=${EZX_APP_WRITE_PATH:-$HOME/.local/share/zKestrel}
mkdir -p "$EZX_APP_WRITE_PATH/setup"
cp -a "$here/device" "$workdir/device"
export EZX_DEVICE_ROOT=$workdir/device

served=false
if [ -z "${DISPLAY:-}" ]; then
  zk_start_screen 520x360x24 "$workdir" || exit 1
  groups+=("$zk_screen_pid")
  zk_serve_screen "$workdir" || exit 1
  groups+=("$zk_vnc_pid")
  served=true
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

# The banner comes last, once the window and the keypad are on the screen
# and their start-up lines are written.
for _ in $(seq 100); do
  [ -n "$(xdotool search --onlyvisible --name '^Keypad$' 2>/dev/null)" ] \
    && [ -n "$(xdotool search --onlyvisible --pid "$zk_group" 2>/dev/null)" ] && break
  sleep 0.1
done
sleep 0.3
cat <<TEXT

zKestrel is resident; its window is up.
  Task key:  the keypad's "Task key", or  qcop /hardkey/bc 'keyMsg(int,int)' 4159 1
  Keys:      F1 green, F2 red, F3 C, arrows, Return select, F10 left soft key, Escape right soft key;
             the keypad's Green, Red and C type F1, F2, F3 into the phone's active window
  Another shell reaches this run's bus and qcop after
    export DBUS_SESSION_BUS_ADDRESS='$DBUS_SESSION_BUS_ADDRESS' PATH="$bin:\$PATH"
  Storage:   $EZX_DEVICE_ROOT   Configuration: $EZX_APP_WRITE_PATH/setup/zKestrel.cfg
TEXT
if $served; then zk_screen_help; fi
echo "Ctrl-C ends the phone."
wait "$zk_group"
