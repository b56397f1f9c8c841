#!/usr/bin/env bash
# Runs fuzz targets for a given time each, JOBS at a time, and prints what each reached. Each
# starts from what runs in BUILD learnt, the committed corpus and the seeds; new inputs go into
# BUILD/fuzz-corpus/TARGET only. Unless FUZZ_NO_TALLY is set, the inputs each target ran are
# added to the campaign's tally (fuzz/campaign.txt).
# Usage: run.sh BUILD SECONDS JOBS TARGET...
set -uo pipefail
build="$1"
seconds="$2"
jobs="$3"
shift 3
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/limits.sh"
top="$(cd "$here/.." && pwd)"
cd "$top"

run_one() {
  local target="$1"
  local corpus="$build/fuzz-corpus/$target"
  local findings="$build/fuzz-findings/$target"
  local dict=() schedule=()
  mkdir -p "$corpus" "$findings"
  [ "$target" = document_reader_fuzzer ] || dict=(-dict="$here/pdf.dict")
  # An import touches tens of thousands of coverage features, and the scheduler looks each one
  # up among the rare ones until it has been seen 255 times: at the default, most of the time
  # went there. From the seeds, rare below 16 runs more than twice the inputs a second and
  # reaches more coverage in the same time; on a large corpus it changes little.
  [ "$target" = import_fuzzer ] && schedule=(-entropic_feature_frequency_threshold=16)
  local committed=()
  [ -d "$here/corpus/$target" ] && committed=("$here/corpus/$target")
  "$build/bin/$target" "$corpus" "${committed[@]}" "$build/fuzz-seeds/$target" "${dict[@]}" \
    "${schedule[@]}" \
    -max_total_time="$seconds" "${FUZZ_LIMITS[@]}" \
    -artifact_prefix="$findings/" -print_final_stats=1 >"$build/fuzz-$target.log" 2>&1
  local status=$?
  local stats
  stats="$(grep -E '^#[0-9]+.*(DONE|cov:)' "$build/fuzz-$target.log" | tail -1)"
  echo "$target: exit $status; $stats"
  # "#123 DONE" (or the last "#123 pulse"/"NEW" line of a run that stopped) counts its inputs.
  echo "$stats" | sed -nE 's/^#([0-9]+).*/\1/p' >"$build/fuzz-$target.ran"
  if [ $status -ne 0 ]; then
    grep -E 'ERROR|SUMMARY|Test unit written' "$build/fuzz-$target.log" | head -5
    return 1
  fi
}

failed=0
pids=()
for target in "$@"; do
  run_one "$target" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || failed=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
if [ -z "${FUZZ_NO_TALLY:-}" ]; then
  for target in "$@"; do
    ran="$(cat "$build/fuzz-$target.ran" 2>/dev/null)"
    /usr/bin/python3 "$here/campaign_tally.py" "$here/campaign.txt" "$target" "${ran:-0}"
  done
  cat "$here/campaign.txt"
fi
exit $failed
