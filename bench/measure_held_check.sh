#!/usr/bin/env bash
# A save looks through every process's open descriptors for another holder of plyr.sav: the
# time of one load and both saves (velquin_bench's LoadAndBothSaves) as the machine has it,
# then with PROCESSES more idle processes, each holding its three standard descriptors.
# Usage: measure_held_check.sh NATIVE_RELEASE_BUILD_DIR [PROCESSES]
set -euo pipefail
bench=$(realpath "$1")/bench/velquin_bench
count=${2:-2000}
sleepers=()
trap 'kill "${sleepers[@]}" 2>/dev/null || true' EXIT

measure() {
  echo "== $(find /proc -maxdepth 1 -name '[0-9]*' | wc -l) processes"
  "$bench" --benchmark_filter=LoadAndBothSaves --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true | grep -E '_(median|stddev)'
}

measure
for _ in $(seq "$count"); do
  sleep 3600 </dev/null >/dev/null 2>&1 &
  sleepers+=($!)
done
measure
