#!/usr/bin/env bash
# Folds what the campaigns in BUILD learnt (BUILD/fuzz-corpus/TARGET) into the committed corpus
# fuzz/corpus/TARGET with libFuzzer's merge: an input is added only when it reaches coverage the
# corpus does not. Prints each corpus's size before and after.
# Usage: merge.sh BUILD TARGET...
set -euo pipefail
build="$1"
shift
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/limits.sh"
for target in "$@"; do
  committed="$here/corpus/$target"
  learnt="$build/fuzz-corpus/$target"
  mkdir -p "$committed"
  before="$(find "$committed" -type f | wc -l)"
  if [ -d "$learnt" ]; then
    "$build/bin/$target" -merge=1 -merge_control_file="$build/merge-$target.control" \
      "${FUZZ_LIMITS[@]}" "$committed" "$learnt" \
      >"$build/merge-$target.log" 2>&1 || {
      echo "$target: the merge failed (see $build/merge-$target.log)"
      exit 1
    }
  fi
  echo "$target: $before inputs before, $(find "$committed" -type f | wc -l) after," \
    "$(du -sh "$committed" | cut -f1)"
done
