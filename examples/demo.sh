#!/usr/bin/env bash
# Runs the import command of the plug-in in the stand-in host on the bundled example document.
set -euo pipefail
build="${1:-build}"
here="$(cd "$(dirname "$0")" && pwd)"
top="$(cd "$here/.." && pwd)"
tolvane="$top/$build/bin/tolvane"
[ -x "$tolvane" ] || { echo "demo: $tolvane is missing; run make first" >&2; exit 1; }

echo "== The stand-in host loads the plug-in and shows its import menus"
"$tolvane" menus

echo
echo "== The example document"
"$tolvane" show "$here/chapter1.tlv"

echo
echo "== The import command on it, as a person runs it from the menu"
"$tolvane" run "$here/chapter1.tlv" --dialogs "$here/demo-dialogs.txt" || true
