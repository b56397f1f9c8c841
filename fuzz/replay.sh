#!/usr/bin/env bash
# Replays, in the sanitizer build, everything a run of the fast fuzz build learnt or found: an
# input counts as harmless only once AddressSanitizer has seen it too.
# Usage: replay.sh SANITIZER_BUILD FAST_BUILD TARGET...
set -uo pipefail
source "$(dirname "$0")/limits.sh"
sanitizer="$1"
fast="$2"
shift 2
failed=0
for target in "$@"; do
  dirs=()
  for dir in "$fast/fuzz-corpus/$target" "$fast/fuzz-findings/$target"; do
    [ -d "$dir" ] && [ -n "$(ls -A "$dir")" ] && dirs+=("$dir")
  done
  [ ${#dirs[@]} -eq 0 ] && continue
  log="$sanitizer/replay-$target.log"
  if "$sanitizer/bin/$target" -runs=0 "${FUZZ_LIMITS[@]}" \
      "${dirs[@]}" >"$log" 2>&1; then
    echo "$target: $(find "${dirs[@]}" -type f | wc -l) inputs replayed under the sanitizers, none failed"
  else
    echo "$target: an input fails under the sanitizers (see $log)"
    grep -E 'ERROR|SUMMARY|Test unit written|Running: ' "$log" | tail -5
    failed=1
  fi
done
exit $failed
