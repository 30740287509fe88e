# Sourced by scripts/run-window.sh and sim/run-phone.sh: a run folder of
# their own for the programs, and a virtual X screen served over VNC to the
# user who started the run only.
#
#   zk_runtime_dir FOLDER   XDG_RUNTIME_DIR=FOLDER/runtime (mode 0700) when unset
#   zk_start_screen SIZE FOLDER
#                           Xvfb on a free display (SIZE e.g. 240x320x24);
#                           exports DISPLAY, sets zk_screen_pid
#   zk_serve_screen FOLDER  serves $DISPLAY with x11vnc on localhost, port
#                           $ZK_VNC_PORT (default 5900) or the next free one,
#                           behind a password made for this run; sets
#                           zk_vnc_pid, zk_vnc_port and zk_vnc_password
#   zk_screen_help          how to connect to it, for the run's banner
# Each returns 1, saying why on standard error, when it could not.
# FOLDER must be readable by the user only (mktemp -d makes it so).

zk_runtime_dir() {
  [ -z "${XDG_RUNTIME_DIR:-}" ] || return 0
  mkdir -p -m 0700 "$1/runtime"
  export XDG_RUNTIME_DIR=$1/runtime
}

zk_start_screen() {
  local size=$1 folder=$2 number=
  # Xvfb picks a free display itself and writes its number once it takes
  # connections: no race with other screens started at the same moment.
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp 3>"$folder/display" >"$folder/xvfb.log" 2>&1 &
  zk_screen_pid=$!
  for _ in $(seq 100); do
    number=$(sed -n 1p "$folder/display" 2>/dev/null)
    [ -n "$number" ] && break
    kill -0 "$zk_screen_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$number" ]; then
    echo "Xvfb did not start:" >&2
    tail -n 5 "$folder/xvfb.log" >&2
    return 1
  fi
  export DISPLAY=":$number"
}

zk_serve_screen() {
  local folder=$1 wanted=${ZK_VNC_PORT:-5900}
  # Eight characters: all that VNC's password check looks at. Written by a
  # shell builtin, so the password never shows on a command line (ps).
  zk_vnc_password=$(head -c 48 /dev/urandom | base64 -w0 | tr -dc 'A-Za-z0-9')
  zk_vnc_password=${zk_vnc_password:0:8}
  zk_vnc_file=$folder/vnc-password
  (umask 077 && printf '%s\n' "$zk_vnc_password" >"$zk_vnc_file")

  # -autoport takes the first free port from the one wanted on and names it
  # ("PORT=5901") once it listens; x11vnc ends when it cannot serve.
  x11vnc -display "$DISPLAY" -localhost -autoport "$wanted" -passwdfile "$zk_vnc_file" \
    -forever -shared -quiet >"$folder/x11vnc.out" 2>"$folder/x11vnc.log" &
  zk_vnc_pid=$!
  zk_vnc_port=
  zk_vnc_taken=
  for _ in $(seq 150); do
    zk_vnc_port=$(sed -n 's/^PORT=\([0-9]*\)$/\1/p' "$folder/x11vnc.out")
    [ -n "$zk_vnc_port" ] && break
    kill -0 "$zk_vnc_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$zk_vnc_port" ]; then
    kill "$zk_vnc_pid" 2>/dev/null || true
    echo "x11vnc could not serve the screen $DISPLAY, so nothing is served; it said:" >&2
    grep -m 5 -i -E 'error|fail|unable|could not|cannot' "$folder/x11vnc.log" >&2 \
      || tail -n 5 "$folder/x11vnc.log" >&2
    return 1
  fi
  if [ "$zk_vnc_port" != "$wanted" ]; then
    zk_vnc_taken=" (port $wanted is taken)"
    echo "Port $wanted is taken; the screen is served on port $zk_vnc_port."
  fi
}

zk_screen_help() {
  cat <<TEXT
No display: the screen is served over VNC at localhost:$zk_vnc_port$zk_vnc_taken, to the holder of its password.
  password:  $zk_vnc_password   (made for this run; also in $zk_vnc_file, readable by you only)
  connect:   vncviewer localhost::$zk_vnc_port   and type the password
  from another machine:  ssh -L $zk_vnc_port:localhost:$zk_vnc_port <this host>, then the same there
TEXT
}
