#!/usr/bin/env bash
# Runs one test program offscreen inside a private D-Bus session, with fresh
# folders for the configuration and the simulated phone's storage.
set -u
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/zk-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/write" "$work/device" "$work/sanitizer"
export QT_QPA_PLATFORM=offscreen
export EZX_APP_WRITE_PATH="$work/write"
export EZX_DEVICE_ROOT="$work/device"
export LC_ALL=C.UTF-8 LANG=C.UTF-8
unset DBUS_SESSION_BUS_ADDRESS

# Sanitized builds (the asan preset; programs of a plain build ignore these).
# The test and every program it starts write their reports into one folder,
# and any report fails the test: a child whose exit status the test never
# looks at (a resident zKestrel that is terminated, a sim program) must not
# lose its findings. Options already in the environment come last and win.
#
# g++ keeps UndefinedBehaviorSanitizer in a runtime of its own whose message
# ignores log_path and goes to standard error only. So it aborts instead of
# exiting, AddressSanitizer's SIGABRT handler writes the stack (through
# __ubsan_handle_*) into the folder, and both runtimes are given the folder:
# the one that starts last sets the report path of both.
reports="$work/sanitizer"
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:handle_abort=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:log_path=$reports/asan${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1:log_path=$reports/ubsan${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

dbus-run-session -- "$@"
status=$?

shopt -s nullglob
found=("$reports"/*)
if [ ${#found[@]} -gt 0 ]; then
  for report in "${found[@]}"; do
    echo "==== sanitizer report ${report##*/}"
    cat "$report"
  done
  echo "run-in-session: ${#found[@]} sanitizer report(s), the test fails"
  [ "$status" -ne 0 ] || status=1
fi
exit "$status"
