#!/usr/bin/env bash
# Builds the Debian package from a build folder (CPack, into a temporary
# folder) and checks it with scripts/check-package.sh.
#
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$1
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(mktemp -d "${TMPDIR:-/tmp}/zk-package.XXXXXX")
trap 'rm -rf "$out"' EXIT
if ! (cd "$build" && cpack -G DEB -B "$out" > "$out/cpack.log" 2>&1); then
  cat "$out/cpack.log"
  exit 1
fi
bash "$top/scripts/check-package.sh" "$out"/zkestrel_*.deb
