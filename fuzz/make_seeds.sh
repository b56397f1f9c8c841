#!/usr/bin/env bash
# Writes the fuzzers' seed corpora into OUT/<target>/ from the project's own pipeline: tagged
# PDFs of the bundled examples from the host's export, the same PDFs with reviewers' comments
# from the reviewer tool, small hand-made malformed PDFs, and the examples' host files.
# Usage: make_seeds.sh BUILD OUT
set -euo pipefail
build="$1"
out="$2"
here="$(cd "$(dirname "$0")" && pwd)"
top="$(cd "$here/.." && pwd)"
tolvane="$top/$build/bin/tolvane"
review="$top/tools/reviewer/review.py"
mkdir -p "$out/import_fuzzer" "$out/pdf_walk_fuzzer" "$out/document_reader_fuzzer"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cp "$top"/examples/*.tlv "$top"/examples/*.tlb "$out/document_reader_fuzzer/"

# The import fuzzer's document is table-footnote.tlv: its PDF, plain and reviewed, seeds it.
"$tolvane" export-pdf "$top/examples/table-footnote.tlv" -o "$work/table-footnote.pdf"
cp "$work/table-footnote.pdf" "$out/import_fuzzer/exported.pdf"
for description in "$here"/seed-reviews/*.json; do
  name="$(basename "$description" .json)"
  /usr/bin/python3 "$review" "$work/table-footnote.pdf" "$description" \
    "$out/import_fuzzer/reviewed-$name.pdf" >/dev/null
done
"$tolvane" export-pdf "$top/examples/table-footnote.tlv" -o "$work/rotated.pdf" --rotate 1=90
/usr/bin/python3 "$review" "$work/rotated.pdf" "$here/seed-reviews/every-kind.json" \
  "$out/import_fuzzer/reviewed-rotated.pdf" >/dev/null

# The library's walk also gets the other examples, a book among them.
cp "$out"/import_fuzzer/*.pdf "$out/pdf_walk_fuzzer/"
for example in chapter1.tlv structured.tlv manual.tlb; do
  "$tolvane" export-pdf "$top/examples/$example" -o "$out/pdf_walk_fuzzer/${example%.*}.pdf"
done
/usr/bin/python3 "$review" "$out/pdf_walk_fuzzer/chapter1.pdf" "$top/examples/demo-review.json" \
  "$out/pdf_walk_fuzzer/chapter1-reviewed.pdf" >/dev/null

/usr/bin/python3 "$here/hand_made_seeds.py" "$out/pdf_walk_fuzzer"
cp "$out"/pdf_walk_fuzzer/hand-made-*.pdf "$out/import_fuzzer/"
echo "seeds: $(ls "$out/import_fuzzer" | wc -l) import, $(ls "$out/pdf_walk_fuzzer" | wc -l) PDF walk," \
  "$(ls "$out/document_reader_fuzzer" | wc -l) document reader, in $out"
