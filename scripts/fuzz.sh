#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ (clang++, libFuzzer with the address and
# undefined-behaviour sanitizers) into build-fuzz/ and runs each one for
# ZK_FUZZ_SECONDS seconds (default 4) on a working copy of its seed corpus
# (fuzz/corpus/<target>/, which stays as it is). One summary line per target;
# the exit status is non-zero when any target found something, and the path
# of the input that shows it is printed.
#
#   bash scripts/fuzz.sh                          # the short run of the tests
#   ZK_FUZZ_SECONDS=600 bash scripts/fuzz.sh      # the long campaign
#   ZK_FUZZ_TARGETS="zconfig qcopargs" ...        # some targets only
#   ZK_FUZZ_JOBS=2 ...                            # two targets at a time
#
# Logs: build-fuzz/fuzz-logs/<target>.log; findings (inputs that crash or
# fail a check): build-fuzz/fuzz-findings/<target>/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZK_FUZZ_BUILD_DIR:-$top/build-fuzz}
seconds=${ZK_FUZZ_SECONDS:-4}
jobs=${ZK_FUZZ_JOBS:-1}

if [ -n "${ZK_FUZZ_TARGETS:-}" ]; then
  read -r -a targets <<< "$ZK_FUZZ_TARGETS"
else
  targets=()
  for f in "$top"/fuzz/*_fuzz.cpp; do
    n=$(basename "$f" .cpp)
    targets+=("${n%_fuzz}")
  done
fi

launcher=()
if command -v ccache > /dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$top" -B "$build" -G Ninja -DZK_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" > /dev/null
cmake --build "$build" --target fuzzers

# The files the targets hand to the readers: in memory when possible, and
# gone after the run whatever happened to the targets.
scratch=$(mktemp -d /dev/shm/zk-fuzz.XXXXXX 2> /dev/null || mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export ZK_FUZZ_SCRATCH=$scratch

logs=$build/fuzz-logs
findings=$build/fuzz-findings
work=$build/fuzz-work
mkdir -p "$logs" "$findings"

# Runs one target; writes its summary line to $logs/<target>.summary.
run_target() {
  local t=$1
  local corpus=$work/$t
  local log=$logs/$t.log
  local found=$findings/$t/
  rm -rf "$corpus" "$found"
  mkdir -p "$corpus" "$found"
  if [ -d "$top/fuzz/corpus/$t" ]; then
    cp -r "$top/fuzz/corpus/$t/." "$corpus/"
  fi
  local args=(-max_total_time="$seconds" -print_final_stats=1 -timeout=25
              -rss_limit_mb=2048 -artifact_prefix="$found")
  if [ -f "$top/fuzz/$t.dict" ]; then
    args+=(-dict="$top/fuzz/$t.dict")
  fi
  local start end status=0
  start=$(date +%s)
  "$build/fuzz/${t}_fuzz" "${args[@]}" "$corpus" > "$log" 2>&1 || status=$?
  end=$(date +%s)
  local execs entries outcome
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  entries=$(find "$corpus" -type f | wc -l)
  if [ "$status" -eq 0 ]; then
    outcome="no finding"
  else
    local input
    input=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -1)
    outcome="FINDING (exit $status): ${input:-see $log}"
  fi
  printf '%-11s %12s executions %6s s %6s corpus entries   %s\n' \
    "$t" "${execs:-?}" "$((end - start))" "$entries" "$outcome" > "$logs/$t.summary"
  cat "$logs/$t.summary"
}

failed=0
for t in "${targets[@]}"; do
  rm -f "$logs/$t.summary"
  if [ ! -x "$build/fuzz/${t}_fuzz" ]; then
    echo "no fuzz target $t" >&2
    failed=1
    continue
  fi
  if [ "$jobs" -le 1 ]; then
    run_target "$t" || true
  else
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
      wait -n || true
    done
    run_target "$t" &
  fi
done
wait

echo "fuzz summary (${seconds} s per target):"
for t in "${targets[@]}"; do
  if [ -f "$logs/$t.summary" ]; then
    cat "$logs/$t.summary"
    grep -q 'FINDING' "$logs/$t.summary" && failed=1
  fi
done
if [ "$failed" -ne 0 ]; then
  echo "fuzzing found something: see the inputs above and $logs" >&2
fi
exit "$failed"
