#!/usr/bin/env bash
# The import benchmark (`make bench`): for documents of 50, 200 and 800 pages, and a book of
# ten components of 80 pages each, each reviewed with about ten comments a page, times
# `tolvane import DOC PDF -o OUT` beside `pdftotext -bbox PDF /dev/null` on the same PDF and
# prints one row per size. Besides that dense review, each size is reviewed sparsely too: ten
# comments on every 40th page, on the last page only, on the first page only.
#
#   scripts/bench.sh [BUILD_DIR]      (default build-release, built by `make bench`)
#
# Environment: SIZES (pages of a document, or "book", default "50 200 800 book"), RUNS (timed
# runs of each command after one warm-up, default 5), REVIEWS (which reviews, default "all
# every-40 last first"), BENCH_DIR (inputs and outputs, default BUILD_DIR/bench),
# BENCH_KEEP_INPUTS=1 (reuse the documents and PDFs made by an earlier run).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build-release}" && pwd)
tolvane=$build/bin/tolvane
python=/usr/bin/python3 # the one with the reviewer tool's PDF library
sizes=${SIZES:-50 200 800 book}
reviews=${REVIEWS:-all every-40 last first}
runs=${RUNS:-5}
work=${BENCH_DIR:-$build/bench}
mkdir -p "$work/user"
# The plug-in's preferences stay out of the user's own folder.
export TOLVANE_USER_DIR=$work/user

# The file imported into: doc.tlv, or for "book" book.tlb with its ten components.
source_of() { [[ $1 == book ]] && echo "$2/book.tlb" || echo "$2/doc.tlv"; }

# The reviewed PDF of a review: review.pdf for the dense one, review-SELECTION.pdf otherwise.
review_of() { [[ $1 == all ]] && echo "$2/review" || echo "$2/review-$1"; }

make_inputs() { # PAGES|book DIR
  local pages=$1 dir=$2 review
  if [[ ${BENCH_KEEP_INPUTS:-} == 1 && -s $dir/doc.pdf ]]; then
    local missing=0
    for review in $reviews; do [[ -s $(review_of "$review" "$dir").pdf ]] || missing=1; done
    ((missing == 0)) && return
  fi
  mkdir -p "$dir"
  echo "bench: making $pages pages..." >&2
  if [[ $pages == book ]]; then
    printf '<?xml version="1.0" encoding="UTF-8"?>\n<book version="1">\n' >"$dir/book.tlb"
    for part in 1 2 3 4 5 6 7 8 9 10; do
      "$python" "$top/scripts/bench_input.py" document 80 "$dir/part$part.tlv"
      printf '  <component file="part%d.tlv"/>\n' "$part" >>"$dir/book.tlb"
    done
    printf '</book>\n' >>"$dir/book.tlb"
  else
    "$python" "$top/scripts/bench_input.py" document "$pages" "$dir/doc.tlv"
  fi
  "$tolvane" export-pdf "$(source_of "$pages" "$dir")" -o "$dir/doc.pdf" >/dev/null
  for review in $reviews; do
    local stem
    stem=$(review_of "$review" "$dir")
    "$python" "$top/scripts/bench_input.py" review "$dir/doc.pdf" "$stem.json" "$review"
    "$python" "$top/tools/reviewer/review.py" "$dir/doc.pdf" "$stem.json" "$stem.pdf" >/dev/null
  done
}

# Runs a command under GNU time; sets seconds and peak_kb. A failing command ends the bench.
timed() {
  local out
  out=$(mktemp)
  if ! /usr/bin/time -f '%e %M' -o "$out" "$@" >/dev/null 2>&1; then
    echo "bench: failed: $*" >&2
    exit 1
  fi
  read -r seconds peak_kb < <(tail -n 1 "$out")
  rm -f "$out"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for pages in $sizes; do make_inputs "$pages" "$work/$pages"; done

printf '%6s %-9s %9s %9s %9s %10s %7s %9s %9s %9s  %s\n' pages review pdf_MiB doc_MiB \
  import_s pdftotext_s ratio ms/page peak_MiB limit_MiB comments
for pages in $sizes; do
  for review in $reviews; do
    dir=$work/$pages
    stem=$(review_of "$review" "$dir")
    pdf=$stem.pdf doc=$(source_of "$pages" "$dir")
    out=$dir/out.tlv
    [[ $pages == book ]] && out=$dir/out
    imports=() texts=() ratios=() peaks=()
    # One warm-up of each, then the two in turn, so that both see the same machine.
    for ((run = 0; run <= runs; run++)); do
      timed "$tolvane" import "$doc" "$pdf" -o "$out"
      import_s=$seconds import_kb=$peak_kb
      timed pdftotext -bbox "$pdf" /dev/null
      text_s=$seconds
      ((run == 0)) && continue
      imports+=("$import_s") texts+=("$text_s") peaks+=("$import_kb")
      ratios+=("$(awk -v a="$import_s" -v b="$text_s" 'BEGIN { print (b > 0 ? a / b : 0) }')")
    done
    count=$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')
    comments=$("$python" -c 'import json, sys; print(len(json.load(open(sys.argv[1]))["comments"]))' \
      "$stem.json")
    # A book's size is that of its components.
    docbytes=$(stat -c %s "$doc")
    [[ $pages == book ]] && docbytes=$(cat "$dir"/part*.tlv | wc -c)
    awk -v pages="$count" -v review="$review" -v pdf="$(stat -c %s "$pdf")" -v doc="$docbytes" \
      -v imp="$(printf '%s\n' "${imports[@]}" | median)" \
      -v txt="$(printf '%s\n' "${texts[@]}" | median)" \
      -v ratio="$(printf '%s\n' "${ratios[@]}" | median)" \
      -v peak="$(printf '%s\n' "${peaks[@]}" | median)" -v comments="$comments" 'BEGIN {
        mib = 1048576
        printf "%6d %-9s %9.1f %9.1f %9.2f %10.2f %7.2f %9.2f %9.1f %9.1f  %d\n", pages, review,
          pdf / mib, doc / mib, imp, txt, ratio, imp * 1000 / pages, peak * 1024 / mib,
          (3 * (pdf + doc)) / mib + 64, comments
      }'
  done
done
cat <<EOF
import_s, pdftotext_s: median seconds of $runs runs; ratio: median of import/pdftotext run by
run; peak: the import's largest resident size (median); limit: 3 x (pdf + doc) + 64 MiB.
Targets: ratio at most 0.85 for "all" and at most 0.35 for "every-40" and "last" at the
largest size, and peak at most 85% of the limit for every size; review "all" is ten comments on
every page, "every-40" on every 40th page, "last" and "first" on that page only.
EOF

# Where the time of one import goes, for the largest document and the book, in one run each:
# the host's load and save, and within the call the plug-in's phases; "other" is what the
# call spent outside them (the summary, the report, the host's redraw).
largest=$(printf '%s\n' $sizes | grep -v book | sort -n | tail -n 1)
printf '\n%6s %6s %6s %11s %8s %9s %6s %6s %6s %6s %6s\n' pages load open annotations content \
  structure place apply other save total
for pages in $largest $(printf '%s\n' $sizes | grep book); do
  dir=$work/$pages
  out=$dir/out.tlv
  [[ $pages == book ]] && out=$dir/out
  "$tolvane" import "$(source_of "$pages" "$dir")" "$dir/review.pdf" -o "$out" --phases |
    awk -v pages="$pages" '/^\[phases\]/ { for (i = 2; i < NF; i += 2) t[$i] = $(i + 1) } END {
      inside = t["open"] + t["annotations"] + t["content"] + t["structure"] + t["place"] + t["apply"]
      printf "%6s %6.2f %6.2f %11.2f %8.2f %9.2f %6.2f %6.2f %6.2f %6.2f %6.2f\n", pages,
        t["load"], t["open"], t["annotations"], t["content"], t["structure"], t["place"],
        t["apply"], t["call"] - inside, t["save"], t["load"] + t["call"] + t["save"]
    }'
done
echo "phases: seconds of one import each, measured inside the process with a monotonic clock."

# The same import again and again in one process (REPEAT rounds, default 100) on the smallest
# document: whether later imports take longer than the first, and whether memory comes back.
repeat=${REPEAT:-100}
first=${sizes%% *}
[[ $first == book ]] || {
  dir=$work/$first
  log=$(mktemp)
  "$tolvane" import "$dir/doc.tlv" "$dir/review.pdf" --repeat "$repeat" >"$log"
  awk -v pages="$first" '/^\[round\]/ {
      n = $2; t[n] = $4; heap[n] = $(NF - 1); if ($0 !~ /task blocks 0, PDF library blocks 0,/) dirty++
    } END {
      printf "\nrepeat: %d imports of %d pages in one process: first %.3f s, last %.3f s, " \
        "last/first %.2f; heap after round 2 %.1f MiB, after the last %.1f MiB; " \
        "rounds leaving blocks behind: %d\n", n, pages, t[1], t[n], t[n] / t[1],
        heap[2] / 1048576, heap[n] / 1048576, dirty
    }' "$log"
  rm -f "$log"
}
