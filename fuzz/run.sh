#!/usr/bin/env bash
# Runs the fuzz targets of the fuzz build (make fuzz / make fuzz-long).
#   bash fuzz/run.sh short [TARGET...]   each target a few seconds over its seeds (part of make test)
#   bash fuzz/run.sh long [TARGET...]    each target 10^6 executions (FUZZ_RUNS), FUZZ_JOBS at a time
# Without TARGET every *_fuzz program of $FUZZ_BUILD/fuzz runs. New inputs go to
# $FUZZ_BUILD/corpus/TARGET (kept between runs); the committed seeds in fuzz/seeds/TARGET are only
# read. A crash, a sanitizer report, a leak or a hang fails the run and leaves the input in
# $FUZZ_BUILD/artifacts/; replay it with: $FUZZ_BUILD/fuzz/TARGET_fuzz FILE
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
mode=${1:-short}
shift || true
FUZZ_BUILD=$(cd "${FUZZ_BUILD:-build-fuzz}" && pwd)
case "$mode" in
  short) limit=(-max_total_time="${FUZZ_SECONDS:-3}"); jobs=${FUZZ_JOBS:-3} ;;
  long) limit=(-runs="${FUZZ_RUNS:-1000000}"); jobs=${FUZZ_JOBS:-3} ;;
  *) echo "usage: fuzz/run.sh short|long [TARGET...]" >&2; exit 2 ;;
esac

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$FUZZ_BUILD"/fuzz/*_fuzz; do
    name=$(basename "$program")
    targets+=("${name%_fuzz}")
  done
fi

# Short allocation stacks: the run spends a tenth of its time recording them otherwise, and a found
# input is replayed for the whole story anyway.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=5}

logs="$FUZZ_BUILD/logs"
mkdir -p "$logs" "$FUZZ_BUILD/artifacts"

run_one() {
  local target=$1
  local corpus="$FUZZ_BUILD/corpus/$target"
  mkdir -p "$corpus"
  local seeds=()
  [ -d "$root/fuzz/seeds/$target" ] && seeds=("$root/fuzz/seeds/$target")
  # Hangs of a reader count as faults: no input of these sizes takes seconds.
  "$FUZZ_BUILD/fuzz/${target}_fuzz" "${limit[@]}" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$FUZZ_BUILD/artifacts/${target}-" "$corpus" "${seeds[@]}" > "$logs/$target.log" 2>&1
  local status=$?
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$logs/$target.log")
  if [ $status -eq 0 ]; then
    echo "fuzz $target: ${runs:-?} executions, no fault"
  else
    echo "fuzz $target: FAILED (status $status), see $logs/$target.log"
    grep -E "ERROR|SUMMARY|runtime error|Test unit written" "$logs/$target.log" | head -5
  fi
  return $status
}

failed=0
running=0
pids=()
names=()
for target in "${targets[@]}"; do
  run_one "$target" &
  pids+=($!)
  names+=("$target")
  running=$((running + 1))
  if [ $running -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
done
while [ $running -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
if [ $failed -ne 0 ]; then
  echo "fuzz: at least one target found a fault"
  exit 1
fi
echo "fuzz: ${#targets[@]} targets, no fault"
