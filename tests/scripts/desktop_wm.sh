#!/usr/bin/env bash
# The resident zKestrel under real X window managers, as a desktop user
# pops it up (a second start): minimized, on another workspace, covered,
# after maximize and full-screen requests; a dialog over its window; the
# window's class and icon. One line per story: "ok" or "FAULT".
#
#   bash tests/scripts/desktop_wm.sh BUILD_DIR [openbox icewm fluxbox xfwm4]
set -u
bin=$(cd "$1" && pwd)/bin; shift
managers=${*:-openbox icewm fluxbox xfwm4}
work=$(mktemp -d "${TMPDIR:-/tmp}/zk-wm.XXXXXX")
trap 'kill $(cat "$work"/*.pid 2>/dev/null) 2>/dev/null; rm -rf "$work"' EXIT
faults=0
check() { if eval "$2"; then echo "$wm: $1: ok"; else echo "$wm: $1: FAULT"; faults=$((faults + 1)); fi; }
visible() { [ -n "$(xdotool search --onlyvisible --name '^Tasks Manager$')" ]; }
quits() { grep -c Quit:isDaemon "$work/zk.log"; }
# Up on the current workspace, active, and Escape (the right soft key) leaves it.
popup() { "$bin/zKestrel" && sleep 1.5 && visible && [ "$(xdotool getactivewindow getwindowname)" = "Tasks Manager" ]; }
escape() { local n; n=$(quits); xdotool key Escape; sleep 1; [ "$(quits)" -gt "$n" ]; }
for wm in $managers; do
  export DISPLAY=:$((70 + RANDOM % 20)) QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config
  export EZX_APP_WRITE_PATH=$work/write EZX_DEVICE_ROOT=$work/device
  mkdir -p "$EZX_APP_WRITE_PATH/setup" "$EZX_DEVICE_ROOT" "$XDG_CONFIG_HOME"
  Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp 2> /dev/null & echo $! > "$work/xvfb.pid"; sleep 1
  DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3> "$work/dbus.pid")
  export DBUS_SESSION_BUS_ADDRESS
  args=(); [ "$wm" = xfwm4 ] && args=(--compositor=off)
  "$wm" "${args[@]}" > "$work/wm.log" 2>&1 & echo $! > "$work/wm.pid"; sleep 2
  "$bin/zKestrel" -daemon > "$work/zk.log" 2>&1 & echo $! > "$work/zk.pid"; sleep 2
  check "first pop-up with the keys" 'popup && escape'
  w=$(xdotool search --name '^Tasks Manager$' | head -1)
  check "class and icon" '[[ $(xprop -id $w WM_CLASS) == *'"'"'"zKestrel", "zKestrel"'"'"' && $(xprop -id $w _NET_WM_ICON) == *"Icon (56 x 56)"* ]]'
  check "minimized, then popped up with the keys" 'popup && xdotool windowminimize $w && sleep 1 && ! visible && popup && escape'
  check "on another workspace, then popped up with the keys" 'popup && wmctrl -s 1 && sleep 1 && ! visible && popup && escape'
  "$bin/zk-demoapp" --app-title Cover > /dev/null 2>&1 & echo $! > "$work/cover.pid"
  check "covered, then on top with the keys" 'popup && sleep 2 && xdotool search --name "^Cover$" windowactivate --sync && sleep 0.5 && popup && [[ $(xprop -root _NET_CLIENT_LIST_STACKING) == *$(printf "0x%x" $w) ]] && escape && kill -0 $(cat $work/cover.pid)'
  kill "$(cat "$work/cover.pid")"; rm -f "$work/cover.pid"
  check "maximize and full screen undone, alive" 'popup && wmctrl -i -r $w -b add,maximized_vert,maximized_horz && sleep 1 && wmctrl -i -r $w -b add,fullscreen && sleep 1 && [[ $(xprop -id $w _NET_WM_STATE) != *MAXIMIZED* && $(xprop -id $w _NET_WM_STATE) != *FULLSCREEN* && $(xdotool getwindowgeometry $w) == *240x320* ]] && kill -0 $(cat $work/zk.pid)'
  check "Settings over its window (WM_TRANSIENT_FOR)" 'xdotool key F10 Down Down Down Down Down Return && sleep 1.5 && [[ $(xprop -id $(xdotool search --name "^Settings$") WM_TRANSIENT_FOR) == *$(printf "0x%x" $w) ]] && xdotool key Escape && sleep 1 && escape'
  kill $(cat "$work"/*.pid) 2>/dev/null; rm -f "$work"/*.pid; sleep 1
done
echo "desktop_wm: $faults fault(s)"
[ "$faults" -eq 0 ]
