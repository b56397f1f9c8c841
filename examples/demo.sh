#!/usr/bin/env bash
# Runs the whole round trip in the stand-in host on the bundled example: the document is
# exported to a tagged PDF, a reviewer's comments are added to it by a third-party PDF library,
# and the plug-in's import command runs on it with scripted answers.
set -euo pipefail
build="${1:-build}"
here="$(cd "$(dirname "$0")" && pwd)"
top="$(cd "$here/.." && pwd)"
tolvane="$top/$build/bin/tolvane"
[ -x "$tolvane" ] || { echo "demo: $tolvane is missing; run make first" >&2; exit 1; }

# Everything happens in a scratch folder, so the bundled files stay as they are.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
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
echo "$(grep -o '"kind"' "$work/review.out" | wc -l) annotations added to $work/chapter1.pdf"

echo
echo "== The import command on it, as a person runs it from the menu"
"$tolvane" run "$work/chapter1.tlv" --dialogs "$here/demo-dialogs.txt"
