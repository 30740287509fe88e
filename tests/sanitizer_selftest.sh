#!/usr/bin/env bash
# Checks, in a sanitized build, that tests/run-in-session.sh fails a test for
# a sanitizer report of any kind, also when the faulty program is a child
# whose exit status the test ignores. Argument: the zk_sanitizer_fault program.
set -u
here=$(cd "$(dirname "$0")" && pwd)
fault=$1
failures=0
for kind in leak overflow ub; do
  out=$(bash "$here/run-in-session.sh" sh -c '"$0" "$1" >/dev/null 2>&1; exit 0' "$fault" "$kind" 2>&1)
  status=$?
  if [ "$status" -eq 0 ] || ! grep -q '^==== sanitizer report' <<<"$out"; then
    echo "FAIL: a child's $kind went unreported (status $status)"
    echo "$out"
    failures=$((failures + 1))
  else
    echo "PASS: a child's $kind fails the test"
  fi
done
exit "$failures"
