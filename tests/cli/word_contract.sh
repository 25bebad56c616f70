#!/usr/bin/env bash
# "17. Word processing" through the runner, end to end, on .docx files made by python3-docx: the review
# copies are written, LibreOffice opens them with the expected text, the originals stay as they were.
# Usage: word_contract.sh scrivano-cli. Exit 77 (skipped) without python3-docx or LibreOffice.
set -u
cli=$1
python=/usr/bin/python3
if ! "$python" -c 'import docx' 2>/dev/null; then
  echo "SKIP: python3-docx for /usr/bin/python3 is not installed"
  exit 77
fi
if ! command -v soffice >/dev/null; then
  echo "SKIP: LibreOffice (soffice) is not installed"
  exit 77
fi
. "$(dirname "$0")/common.sh"

"$python" - "$work" <<'PY'
import sys, docx
from docx.shared import RGBColor
work = sys.argv[1]
d = docx.Document()
run = d.add_paragraph().add_run('ab中c')
run.font.color.rgb = RGBColor(0x11, 0x22, 0x33)
d.add_paragraph('English和中文 mixed')
d.save(work + '/spaces.docx')
d = docx.Document()
d.add_paragraph('{12}标签{a}和{12}')
d.save(work + '/tags.docx')
d = docx.Document()
for text in ['before', '<S>', 'kept 保留', '<E>', 'after']:
    d.add_paragraph(text)
d.save(work + '/filter.docx')
d = docx.Document()
for text in ['the red car 红色的车', 'the red car', '红色的车']:
    d.add_paragraph(text)
d.save(work + '/phrases.docx')
PY
originals=$(md5sum "$work"/spaces.docx "$work"/tags.docx "$work"/filter.docx "$work"/phrases.docx)

# Option 1, the runner's name for the entry, and two files in one run.
printf '%s\n\n%s\n' "$work/spaces.docx" "$work/tags.docx" >"$work/list"
"$cli" run word-processing --answer 1 --input "$work/list" >"$work/out1" 2>/dev/null || fail "option 1: exit $?"
grep -q "^$work/spaces.scrivano.docx\$" "$work/out1" || fail "option 1: the report does not name spaces.scrivano.docx"
grep -q "^$work/tags.scrivano.docx\$" "$work/out1" || fail "option 1: the report does not name tags.scrivano.docx"

# Option 10: numeric tags go, the other is coloured, one message.
printf '%s\n' "$work/tags.docx" >"$work/list"
"$cli" run 17 --answer 10 --input "$work/list" --transcript "$work/t10" >/dev/null 2>&1 || fail "option 10: exit $?"
[ "$(grep -c 'Wrong format found!' "$work/t10")" -eq 1 ] || fail "option 10: expected one \"Wrong format found!\""
cp "$work/tags.scrivano.docx" "$work/tags10.docx"

# Option 8 with the markers given on the command line.
printf '%s\n' "$work/filter.docx" >"$work/list"
"$cli" run 17 --answer 8 --param '18=<S>' --param '19=<E>' --input "$work/list" >/dev/null 2>&1 || fail "option 8: exit $?"

# Option 7: the documents' text goes to the phrase report.
printf '%s\n' "$work/phrases.docx" >"$work/list"
"$cli" run 17 --answer 7 --answer '2 4 2' --param 22= --input "$work/list" >"$work/out7" 2>/dev/null || fail "option 7: exit $?"
grep -q 'the red car     2' "$work/out7" || fail "option 7: no phrase report"
[ ! -e "$work/phrases.scrivano.docx" ] || fail "option 7 wrote a review copy"

# Unknown option number: the message, no copy.
printf '%s\n' "$work/filter.docx" >"$work/list"
"$cli" run 17 --answer 12 --input "$work/list" --transcript "$work/t12" >/dev/null 2>&1
grep -q 'Wrong operation number!' "$work/t12" || fail "option 12: no \"Wrong operation number!\""

# LibreOffice reads every review copy with the expected text.
mkdir -p "$work/text"
soffice "-env:UserInstallation=file://$work/profile" --headless --norestore --convert-to 'txt:Text (encoded):UTF8' \
  --outdir "$work/text" "$work/spaces.scrivano.docx" "$work/tags10.docx" "$work/filter.scrivano.docx" >/dev/null 2>&1
expect_text() {  # name file expected
  if [ ! -f "$2" ]; then
    fail "$1: LibreOffice could not open the review copy"
    return
  fi
  local got
  got=$(sed '1s/^\xEF\xBB\xBF//' "$2" | tr -d '\r')
  [ "$got" = "$3" ] || fail "$1: LibreOffice reads '$got', expected '$3'"
}
expect_text "option 1" "$work/text/spaces.scrivano.txt" "$(printf 'ab 中 c\nEnglish 和中文 mixed')"
expect_text "option 10" "$work/text/tags10.txt" "标签{a}和"
expect_text "option 8" "$work/text/filter.scrivano.txt" "kept 保留"

[ "$(md5sum "$work"/spaces.docx "$work"/tags.docx "$work"/filter.docx "$work"/phrases.docx)" = "$originals" ] ||
  fail "an original was changed"

finish "all Word processing runner checks passed"
