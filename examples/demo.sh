#!/usr/bin/env bash
# Runs the whole round trip in the stand-in host on the bundled example: the document is
# exported to a tagged PDF, a reviewer's comments are added to it by a third-party PDF library,
# the plug-in's import command runs on it as a person runs it (scripted answers, only Kim's
# comments) and as another client runs it (every comment, the document saved), and the result
# is shown: the document before and after, the summary, the per-comment report, the first
# page before and after as pictures, and the review page that shows every comment's fate.
set -euo pipefail
build="${1:-build}"
here="$(cd "$(dirname "$0")" && pwd)"
top="$(cd "$here/.." && pwd)"
tolvane="$top/$build/bin/tolvane"
[ -x "$tolvane" ] || { echo "demo: $tolvane is missing; run make first" >&2; exit 1; }

# Everything happens in a scratch folder, so the bundled files stay as they are; the pictures
# and the results stay there for a look afterwards.
work="$(mktemp -d -t osprevan-demo.XXXXXX)"
cp "$here/chapter1.tlv" "$work/"
export TOLVANE_USER_DIR="$work/user"

echo "== The stand-in host loads the plug-in and shows its import menus"
"$tolvane" menus

echo
echo "== The example document"
"$tolvane" show "$work/chapter1.tlv"

echo
echo "== Exported to a tagged PDF, then reviewed"
"$tolvane" export-pdf "$work/chapter1.tlv" -o "$work/exported.pdf"
/usr/bin/python3 "$top/tools/reviewer/review.py" "$work/exported.pdf" "$here/demo-review.json" \
  "$work/chapter1.pdf" >"$work/review.out"
# A replacement is drawn as two annotations (the struck text and the caret of the new text) and
# is one comment in the report, so both numbers are given.
comments="$(grep -o '"kind"' "$here/demo-review.json" | wc -l)"
annotations="$(grep -o '"kind"' "$work/review.out" | wc -l)"
echo "$comments comments ($annotations annotations) added to $work/chapter1.pdf"

echo
echo "== The import command on it, as a person runs it from the menu (only Kim's comments)"
"$tolvane" run "$work/chapter1.tlv" --dialogs "$here/demo-dialogs.txt"

echo
echo "== The same import as another client runs it: every comment, the result saved"
"$tolvane" import "$work/chapter1.tlv" "$work/chapter1.pdf" -o "$work/imported.tlv" \
  --review-page "$work/review-page.html"

echo
echo "== The document after the import"
"$tolvane" show "$work/imported.tlv"

echo
echo "== What became of each comment ($work/chapter1.report.json)"
cat "$work/chapter1.report.json"

echo
echo "== The first page before and after, as pictures"
"$tolvane" export-pdf "$work/imported.tlv" -o "$work/imported.pdf"
pdftoppm -png -r 80 -f 1 -l 1 "$work/exported.pdf" "$work/before"
pdftoppm -png -r 80 -f 1 -l 1 "$work/imported.pdf" "$work/after"
ls "$work"/before*.png "$work"/after*.png

echo
echo "== Every comment's fate on one page: open $work/review-page.html in a browser"
# A picture of the page is kept in the build folder when a browser is at hand.
if [ -x /usr/bin/chromium ]; then
  shot="$top/$build/demo-review-page.png"
  HOME="$work/browser" XDG_CONFIG_HOME="$work/browser" XDG_CACHE_HOME="$work/browser" \
  /usr/bin/chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/browser" --hide-scrollbars --window-size=1000,860 \
    --screenshot="$shot" "file://$work/review-page.html" >/dev/null 2>&1 &&
    echo "A picture of it: $shot"
fi
echo "The demo's files are in $work"
