#!/usr/bin/env bash
# Real fuzzing runs with libFuzzer, ASan and UBSan (the fuzz preset, clang): each target
# starts from its corpus in tests/fuzz/corpus and grows a working copy in build/fuzz/work.
# An input that breaks a target lands in tests/fuzz/crashes/TARGET, where the ordinary test
# run replays it from then on. Prints executions and coverage per target at the end.
# Usage: fuzz.sh [TARGET [SECONDS]]   (all targets, 60 seconds each, by default)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --fuzz
seconds=${2:-60}

cmake --preset fuzz >/dev/null
# The targets as CMake lists them, one a line.
mapfile -t targets <build/fuzz/fuzz_targets.txt
if [ $# -gt 0 ] && [ "$1" != all ]; then
  printf '%s\n' "${targets[@]}" | grep -qx -- "$1" || { echo "no fuzz target $1: ${targets[*]}" >&2; exit 2; }
  targets=("$1")
fi
cmake --build --preset fuzz --target "${targets[@]}"

summary=()
status=0
for target in "${targets[@]}"; do
  work=build/fuzz/work/$target
  crashes=tests/fuzz/crashes/$target
  mkdir -p "$work" "$crashes"
  cp -n tests/fuzz/corpus/$target/* "$work/" 2>/dev/null || true
  log=build/fuzz/$target.log
  echo "== $target for $seconds s"
  if ! "build/fuzz/tests/fuzz/$target" -max_total_time="$seconds" -artifact_prefix="$crashes/" \
    -print_final_stats=1 "$work" >"$log" 2>&1; then
    status=1
    echo "  $target broke: see $log and $crashes"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  cov=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1)
  summary+=("$target: ${runs:-?} executions, $cov, corpus $(ls "$work" | wc -l) inputs")
done
echo
printf '%s\n' "${summary[@]}"
rmdir tests/fuzz/crashes/* 2>/dev/null || true  # keep only the folders that hold a find
exit $status
