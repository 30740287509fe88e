#!/usr/bin/env bash
# Builds the Debian package of zKestrel (CPack) in build-package/ (or
# $ZK_PACKAGE_BUILD_DIR): the program and qcop only (files under /usr),
# then checks it (scripts/check-package.sh) and prints its name.
#
#   bash scripts/package.sh
#   apt install ./build-package/zkestrel_<version>_amd64.deb
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZK_PACKAGE_BUILD_DIR:-$top/build-package}
"$top/scripts/install-deps.sh"
cmake -S "$top" -B "$build" -G Ninja ${ZK_CMAKE_ARGS:-} > /dev/null
cmake --build "$build" -j "$(nproc)" --target zKestrel qcop
(cd "$build" && cpack -G DEB -B "$build" > cpack.log) || { cat "$build/cpack.log"; exit 1; }
deb=$(ls -t "$build"/zkestrel_*.deb | head -n1)
bash "$top/scripts/check-package.sh" "$deb"
echo "Package: $deb"
