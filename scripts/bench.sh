#!/usr/bin/env bash
# Builds what is needed and runs the benchmark suite (bench/): prints the
# table and, for a full run, puts it into docs/BENCHMARKS.md.
#
#   bash scripts/bench.sh                 # the full suite
#   bash scripts/bench.sh --runs 5 --idle-seconds 10 --only scan,catalogue
#   bash scripts/bench.sh --quick --only scan   # a subset while working
#
# --quick stands for --runs 3 --idle-seconds 10 --large 0 (the scan without
# its 10,000-process size); options given beside it win.
# Arguments go to zk_bench (see bench/driver/main.cpp). A run with arguments
# only prints its table; ZK_BENCH_DOCS=1 writes it into the docs anyway.
set -euo pipefail
args=()
for a in "$@"; do
  [ "$a" = --quick ] || args+=("$a")
done
if [ "${#args[@]}" -ne $# ]; then
  # The caller's options come first: the driver takes the first of each.
  args+=(--runs 3 --idle-seconds 10 --large 0)
fi
set -- ${args[@]+"${args[@]}"}
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZK_BUILD_DIR:-$top/build}
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" >/dev/null
# The suite and its helpers are not part of the normal build.
cmake --build "$build" -j "$(nproc)" --target zk_bench >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/zk-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
# The simulated phone's storage, as the program and the tests see it.
cp -r "$top/sim/device" "$work/device"
mkdir -p "$work/write"
export QT_QPA_PLATFORM=offscreen
export EZX_APP_WRITE_PATH="$work/write"
export EZX_DEVICE_ROOT="$work/device"
export LC_ALL=C.UTF-8 LANG=C.UTF-8
unset DBUS_SESSION_BUS_ADDRESS
# The machine is shared: the suite yields to other work, the same for every
# program it compares.
nice -n "${ZK_BENCH_NICE:-10}" dbus-run-session -- "$build/bin/zk_bench" --out "$work/table.md" "$@"

if [ $# -eq 0 ] || [ "${ZK_BENCH_DOCS:-0}" = 1 ]; then
  doc="$top/docs/BENCHMARKS.md"
  awk -v table="$work/table.md" '
    /<!-- bench:begin -->/ { print; while ((getline line < table) > 0) print line; skip = 1; next }
    /<!-- bench:end -->/ { skip = 0 }
    !skip { print }' "$doc" > "$work/doc.md"
  cp "$work/doc.md" "$doc"
  echo "Table written into docs/BENCHMARKS.md" >&2
fi
