#!/usr/bin/env bash
# The run scripts' virtual screen (scripts/virtual-screen.sh): served over VNC
# to the holder of the run's password and to nobody else, on another port
# when the one asked for is taken, and never announced when x11vnc could not
# serve it. Exit 77 (skipped) without the tools.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb x11vnc openssl od; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: needs $tool (scripts/packages.txt)"
    exit 77
  fi
done
# shellcheck source=../../scripts/virtual-screen.sh
source "$here/../../scripts/virtual-screen.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/zk-screen-test.XXXXXX")
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
check() {   # WHAT COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok    $what"; else echo "FAIL  $what"; failures=$((failures + 1)); fi
}

hex() { od -An -v -tx1 | tr -d ' \n'; }

# The VNC password check's DES key: the password's eight bytes (NUL padded),
# each with its bits in reverse order.
vnc_key() {
  local password=$1 key= i b c r
  for ((i = 0; i < 8; i++)); do
    c=0
    [ -n "${password:i:1}" ] && c=$(printf '%d' "'${password:i:1}")
    r=0
    for ((b = 0; b < 8; b++)); do r=$(((r << 1) | ((c >> b) & 1))); done
    key+=$(printf '%02x' "$r")
  done
  echo "$key"
}

# One RFB 3.8 log-in on localhost:PORT. Prints the security types offered
# (hex: their count, then each); with a PASSWORD it goes on with VNC
# authentication and prints "in" or "refused".
rfb_login() {   # PORT [PASSWORD]
  local port=$1 password=${2-} types result
  exec 3<>"/dev/tcp/127.0.0.1/$port" || return 1
  timeout 10 head -c 12 <&3 >/dev/null
  printf 'RFB 003.008\n' >&3
  types=$(timeout 10 head -c 2 <&3 | hex)
  echo "$types"
  if [ -n "$password" ] && [ "$types" = 0102 ]; then
    printf '\002' >&3
    timeout 10 head -c 16 <&3 \
      | openssl enc -des-ecb -nopad -K "$(vnc_key "$password")" -provider legacy -provider default >&3
    result=$(timeout 10 head -c 4 <&3 | hex)
    if [ "$result" = 00000000 ]; then echo in; else echo refused; fi
  fi
  exec 3<&-
}

check "a virtual screen starts" zk_start_screen 240x320x24 "$work"
pids+=("${zk_screen_pid:-}")

mkdir -m 0700 "$work/first" "$work/second"
ZK_VNC_PORT=5930
zk_serve_screen "$work/first" >"$work/first/said"
check "x11vnc serves it" test $? -eq 0
pids+=("$zk_vnc_pid")
first_port=$zk_vnc_port
password=$zk_vnc_password
zk_screen_help >"$work/first/help"
check "the help names the port" grep -q "localhost:$first_port" "$work/first/help"
check "the help names the password" grep -q "password: *$password " "$work/first/help"
check "the password file is the user's only" test "$(stat -c %a "$zk_vnc_file")" = 600
check "the password file holds that password" test "$(cat "$zk_vnc_file")" = "$password"
check "the password is eight letters or digits" grep -q -x '[A-Za-z0-9]\{8\}' <<<"$password"

check "VNC authentication is the only way in" test "$(rfb_login "$first_port" | head -n 1)" = 0102
check "the run's password lets in" test "$(rfb_login "$first_port" "$password" | tail -n 1)" = in
check "another password is refused" test "$(rfb_login "$first_port" "${password:1}x" | tail -n 1)" = refused

ZK_VNC_PORT=$first_port
zk_serve_screen "$work/second" >"$work/second/said"
check "a second server comes up beside the first" test $? -eq 0
pids+=("$zk_vnc_pid")
check "it says that the port is taken" grep -q "Port $first_port is taken" "$work/second/said"
check "it serves on another port" test "$zk_vnc_port" != "$first_port"
check "it asks for its own password" test "$(rfb_login "$zk_vnc_port" "$zk_vnc_password" | tail -n 1)" = in

# A display without a server: x11vnc ends at once.
n=50
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
mkdir -m 0700 "$work/third"
DISPLAY=":$n" zk_serve_screen "$work/third" >"$work/third/said" 2>"$work/third/complaint"
check "a failed x11vnc is reported as a failure" test $? -ne 0
check "it says nothing is served" grep -q "nothing is served" "$work/third/complaint"
check "it never claims to serve" test ! -s "$work/third/said"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
