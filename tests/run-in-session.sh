#!/usr/bin/env bash
# Runs one test program offscreen inside a private D-Bus session, with fresh
# folders for the configuration and the simulated phone's storage.
set -u
work=$(mktemp -d "${TMPDIR:-/tmp}/zk-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/write" "$work/device"
export QT_QPA_PLATFORM=offscreen
export EZX_APP_WRITE_PATH="$work/write"
export EZX_DEVICE_ROOT="$work/device"
export LC_ALL=C.UTF-8 LANG=C.UTF-8
unset DBUS_SESSION_BUS_ADDRESS
exec dbus-run-session -- "$@"
