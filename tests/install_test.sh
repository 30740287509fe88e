#!/usr/bin/env bash
# `cmake --install` into a temporary DESTDIR, and the installed zKestrel
# started from another working folder: by the name on PATH, by full path and
# through a link to the launcher. Each start must find every picture it
# loads and its language resources, and get a folder to write into from the
# launcher. Runs inside tests/run-in-session.sh (offscreen, private bus).
#
#   install_test.sh BUILD_DIR PROBE_LIBRARY QCOP BINDIR APPDIR
#
# BINDIR and APPDIR are the install folders relative to the prefix. The
# probe library notes the texts painted and the pictures loaded
# (tests/helpers/zk_paintprobe.cpp).
set -euo pipefail
build=$1 probe=$2 qcop=$3 bindir_rel=$4 appdir_rel=$5
prefix=/usr

work=$(mktemp -d "${TMPDIR:-/tmp}/zk-install.XXXXXX")
running=()
cleanup() {
  for pid in "${running[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

root=$work/root
DESTDIR=$root cmake --install "$build" --prefix "$prefix" > "$work/install.log"
bindir=$root$prefix/$bindir_rel
appdir=$root$prefix/$appdir_rel

# --- What is installed: the program's folder holds what it has beside it in
# the build tree; nothing else of the build comes along.
expected=$work/expected.txt
{
  echo "$bindir_rel/zKestrel"
  echo "$bindir_rel/qcop"
  echo "$appdir_rel/zKestrel"
  echo "$appdir_rel/zk-desktop"
  (cd "$build/bin" && find img panel zKestrel*.png -name '*.png') | sed "s|^|$appdir_rel/|"
  echo "lib/systemd/user/zkestrel.service"
  echo "lib/systemd/user/zkestrel-desktop.service"
  echo "share/applications/zkestrel.desktop"
  echo "share/doc/zkestrel/copyright"
} | sort > "$expected"
outside=$(cd "$root" && find . ! -type d ! -path ".$prefix/*")
[ -z "$outside" ] || fail "files outside the prefix: $outside"
(cd "$root$prefix" && find . ! -type d | sed 's|^\./||' | sort) > "$work/installed.txt"
if ! diff -u "$expected" "$work/installed.txt"; then
  fail "the installed files are not the expected ones (- expected, + installed)"
fi

grep -qxF "ExecStart=$prefix/$bindir_rel/zKestrel -daemon" "$root$prefix/lib/systemd/user/zkestrel.service" ||
  fail "the unit does not start $prefix/$bindir_rel/zKestrel -daemon"
grep -qxF "Exec=$prefix/$bindir_rel/zKestrel" "$root$prefix/share/applications/zkestrel.desktop" ||
  fail "the desktop entry does not start $prefix/$bindir_rel/zKestrel"
# Task bars match windows to the entry by their class, the program's name.
grep -qxF "StartupWMClass=zKestrel" "$root$prefix/share/applications/zkestrel.desktop" ||
  fail "the desktop entry does not name the windows' class zKestrel"
desktop-file-validate "$root$prefix/share/applications/zkestrel.desktop" ||
  fail "desktop-file-validate finds fault with the desktop entry"
grep -qxF "ExecStart=$prefix/$bindir_rel/zKestrel --desktop-services" \
  "$root$prefix/lib/systemd/user/zkestrel-desktop.service" ||
  fail "the desktop services' unit does not start $prefix/$bindir_rel/zKestrel --desktop-services"
grep -qxF "Wants=zkestrel-desktop.service" "$root$prefix/lib/systemd/user/zkestrel.service" ||
  fail "the resident's unit does not bring the desktop services along"
# The user manager checks the units; their commands are looked up in the DESTDIR.
mkdir -p "$work/unit" "$work/runtime"
chmod 700 "$work/runtime"
for unit in zkestrel.service zkestrel-desktop.service; do
  sed "s|^ExecStart=$prefix/|ExecStart=$root$prefix/|" "$root$prefix/lib/systemd/user/$unit" > "$work/unit/$unit"
done
XDG_RUNTIME_DIR=$work/runtime systemd-analyze --user verify "$work/unit/zkestrel.service" \
  "$work/unit/zkestrel-desktop.service" || fail "systemd-analyze finds fault with the user units"

# --- The installed program at work.
program=$(readlink -f "$appdir/zKestrel")
# A sanitized program wants its runtime loaded before any preloaded library,
# but preloading the runtime would put it into the launcher's shell and
# tools too, which are not built for it (they hang). So only the probe is
# preloaded and the program is told to accept that order: its runtime still
# comes before the C library, so every allocation is seen. (Not `grep -q`:
# under pipefail, ldd killed by the early close would read as "not sanitized".)
if [[ $(ldd "$program") == *libasan* ]]; then
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
fi

elsewhere=$work/elsewhere
mkdir -p "$elsewhere" "$work/home"
ln -s "$bindir/zKestrel" "$elsewhere/zk-link"

# start LABEL LANG [VAR=VALUE...] -- COMMAND...: starts a window from the
# other folder with the probe; sets $pid.
start() {
  local label=$1 lang=$2
  shift 2
  local vars=()
  while [ "$1" != "--" ]; do vars+=("$1"); shift; done
  shift
  (
    cd "$elsewhere"
    exec env -u LC_ALL -u LC_MESSAGES -u EZX_APP_WRITE_PATH -u EZX_DEVICE_ROOT -u XDG_DATA_HOME -u XDG_CACHE_HOME \
      HOME="$work/home" LANG="$lang" PATH="$bindir:$PATH" LD_PRELOAD="$probe" \
      ZK_PAINT_PROBE="$work/$label.painted" ZK_PICTURE_PROBE="$work/$label.pictures" \
      "${vars[@]}" "$@" > "$work/$label.out" 2> "$work/$label.err"
  ) &
  pid=$!
  running+=("$pid")
}
tab=$'\t'

# painted LABEL: waits until the window has painted its soft keys.
painted() {
  for _ in $(seq 300); do
    grep -q 'ZSoftKey' "$work/$1.painted" 2> /dev/null && return 0
    kill -0 "$pid" 2> /dev/null || break
    sleep 0.1
  done
  fail "$1: no soft keys painted; its output:"
  cat "$work/$1.out" "$work/$1.err"
}

# quit LABEL: asks the window over the bus to quit; it must end with 0.
quit() {
  local status=0
  "$qcop" "EZX/Application/$pid" 'quickQuit()' || fail "$1: cannot send quickQuit()"
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "$1: exit status $status"
}

# env_of PID NAME: the variable as the running program has it.
env_of() {
  tr '\0' '\n' < "/proc/$1/environ" 2> /dev/null | sed -n "s/^$2=//p"
}

# pictures_found LABEL: every picture loaded, from the program's own folder.
pictures_found() {
  local label=$1 file=$work/$1.pictures
  if grep '^missing' "$file" 2> /dev/null; then
    fail "$label: pictures missing (above)"
  fi
  for pic in img/tab_task.png img/show.png img/exit.png panel/cpu.png panel/ram.png; do
    grep -q "^loaded${tab}$appdir_real/*/$pic\$" "$file" 2> /dev/null ||
      fail "$label: $pic not loaded from $appdir_real"
  done
  grep -qxF "cur path: $appdir_real/" "$work/$label.err" ||
    fail "$label: the program does not look beside itself: $(grep 'cur path' "$work/$label.err")"
}
appdir_real=$(readlink -f "$appdir")

# By the name on PATH, Russian, the write folder from HOME.
start by-name ru_RU.UTF-8 -- zKestrel
painted by-name
[ "$(env_of "$pid" EZX_APP_WRITE_PATH)" = "$work/home/.local/share/zKestrel" ] ||
  fail "by-name: EZX_APP_WRITE_PATH is not the data folder under HOME"
[ "$(env_of "$pid" EZX_DEVICE_ROOT)" = "$work/home/.cache/zKestrel/desktop" ] ||
  fail "by-name: EZX_DEVICE_ROOT is not the desktop's folder under HOME"
[ "$(readlink -f "/proc/$pid/exe")" = "$program" ] || fail "by-name: not the installed program"
quit by-name
pictures_found by-name
grep -q "${tab}Выход\$" "$work/by-name.painted" || fail "by-name: no Russian soft key (Выход) painted"

# By full path, English, the write folder from XDG_DATA_HOME.
start full-path C.UTF-8 XDG_DATA_HOME="$work/xdg" -- "$bindir/zKestrel"
painted full-path
[ "$(env_of "$pid" EZX_APP_WRITE_PATH)" = "$work/xdg/zKestrel" ] ||
  fail "full-path: EZX_APP_WRITE_PATH is not \$XDG_DATA_HOME/zKestrel"
quit full-path
pictures_found full-path
grep -q "${tab}Exit\$" "$work/full-path.painted" || fail "full-path: no English soft key (Exit) painted"
if grep -q "${tab}Выход\$" "$work/full-path.painted"; then fail "full-path: Russian texts in English"; fi

# Through a link to the launcher, by a relative path; the user's own write
# folder and device root are kept.
start link C.UTF-8 EZX_APP_WRITE_PATH="$work/own" EZX_DEVICE_ROOT="$work/device" -- ./zk-link
painted link
[ "$(env_of "$pid" EZX_APP_WRITE_PATH)" = "$work/own" ] || fail "link: EZX_APP_WRITE_PATH changed"
[ "$(env_of "$pid" EZX_DEVICE_ROOT)" = "$work/device" ] || fail "link: EZX_DEVICE_ROOT changed"
quit link
pictures_found link

# The probe can see a picture go missing: the program itself, started
# through a plain link in another folder, looks beside the link.
ln -s "$program" "$elsewhere/plain-link"
start plain-link C.UTF-8 -- ./plain-link
painted plain-link
quit plain-link
grep -q "^missing${tab}\./*/img/tab_task\.png\$" "$work/plain-link.pictures" 2> /dev/null ||
  fail "plain-link: the probe did not see the missing pictures"

# The desktop services through the launcher: without a display they still
# publish the desktop's applications where the task manager reads them.
services_root=$work/home/.cache/zKestrel/desktop
start services C.UTF-8 XDG_DATA_DIRS=/usr/share DISPLAY= -- zKestrel --desktop-services
for _ in $(seq 300); do
  grep -q 'applications of' "$work/services.out" 2> /dev/null && break
  sleep 0.1
done
[ "$(readlink -f "/proc/$pid/exe")" = "$(readlink -f "$appdir/zk-desktop")" ] ||
  fail "services: the launcher did not start the installed zk-desktop"
grep -q '^# zk-desktop' "$services_root/usr/data_resource/preloadapps/SysRegistry" 2> /dev/null ||
  fail "services: no registry published in $services_root; its output: $(cat "$work/services.out")"
grep -q 'no X display' "$work/services.out" || fail "services: no word of the missing display"
kill "$pid"

if [ "$failures" -gt 0 ]; then
  echo "install test: $failures failure(s); the install log:"
  cat "$work/install.log"
  exit 1
fi
echo "install test: installed into a DESTDIR and started by name, full path and link: all pictures and texts found; the desktop services publish through the launcher"
