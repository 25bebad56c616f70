#!/usr/bin/env bash
# The manual in every language has the English manual's sections, in the same order.
# usage: check_manual.sh MANUAL_FOLDER
set -euo pipefail
ids() { grep -o '<h[1-3] id="[^"]*"' "$1"; }
english="$1/Operational Manual.html"
status=0
for translated in "$1"/Operational\ Manual.*.html; do
  diff <(ids "$english") <(ids "$translated") >/dev/null || { echo "$translated: sections differ" >&2; status=1; }
done
exit $status
