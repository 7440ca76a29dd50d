#!/usr/bin/env bash
# A save asks whether another process holds plyr.sav: the time of one load and both saves
# (velquin_bench's LoadAndBothSaves) as the machine has it, then with PROCESSES more idle
# processes, each holding its three standard descriptors, then instead with DESCRIPTORS more
# descriptors (of /dev/null), held by as few processes as the descriptor limit allows.
# Usage: measure_held_check.sh NATIVE_RELEASE_BUILD_DIR [PROCESSES] [DESCRIPTORS]
set -euo pipefail
bench=$(realpath "$1")/bench/velquin_bench
processes=${2:-2000}
descriptors=${3:-100000}
others=()
trap 'kill "${others[@]}" 2>/dev/null || true' EXIT

measure() {
  echo "== $1: $(find /proc -maxdepth 1 -name '[0-9]*' 2>/dev/null | wc -l) processes, $(find /proc/[0-9]*/fd -mindepth 1 \
    -maxdepth 1 2>/dev/null | wc -l) descriptors"
  "$bench" --benchmark_filter=LoadAndBothSaves --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true | grep -E '_(median|stddev)'
}

measure "as the machine is"
for _ in $(seq "$processes"); do
  sleep 3600 </dev/null >/dev/null 2>&1 &
  others+=($!)
done
measure "$processes more processes"
kill "${others[@]}"
wait "${others[@]}" 2>/dev/null || true
others=()
# As many processes as the descriptor limit asks for, each holding its share.
share=$(($(ulimit -Hn) - 16))
for ((left = descriptors; left > 0; left -= share)); do
  (
    ulimit -n "$(ulimit -Hn)"
    for _ in $(seq $((left < share ? left : share))); do exec {fd}</dev/null; done
    exec sleep 3600
  ) &
  others+=($!)
done
for holder in "${others[@]}"; do
  until [ "$(cat "/proc/$holder/comm" 2>/dev/null)" = sleep ]; do
    kill -0 "$holder" || { echo "a descriptor holder ended early" >&2; exit 1; }
    sleep 0.2
  done
done
measure "$descriptors more descriptors, in ${#others[@]} more processes"
