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
import sys, docx, docx.enum.text
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
def paragraphs(name, texts, soft=False):
    d = docx.Document()
    for text in texts:
        p = d.add_paragraph()
        for n, piece in enumerate(text.split('/')):
            run = p.add_run(piece)
            if soft and n < len(text.split('/')) - 1:
                run.add_break()
    d.save(work + '/' + name)
paragraphs('broken.docx', ['The quick brown', 'fox jumps over', '', '第二段'])
paragraphs('double.docx', ['Hello world', 'abc'])
paragraphs('soft.docx', ['The source text/目标文本在这里'], soft=True)
paragraphs('pairs.docx', ['Source one', '目标一', 'Source two', '目标二'])
paragraphs('numbers.docx', ['Up 12.5% on 3 May', 'alpha beta'])
paragraphs('source.docx', ['Source page one', 'Source two'])
paragraphs('target.docx', ['目标一', '', '目标二'])
d = docx.Document()
d.add_paragraph('第一页 page one').add_run().add_break(docx.enum.text.WD_BREAK.PAGE)
d.add_paragraph('第二页 page two')
d.save(work + '/target2.docx')
PY
docs=$(ls "$work"/*.docx)
originals=$(md5sum $docs)

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

# Options 3, 4, 5, 6 and 9, one file each.
run_option() {  # name file answers...
  local name=$1 file=$2
  shift 2
  printf '%s\n' "$work/$file" >"$work/list"
  "$cli" run 17 "$@" --input "$work/list" >"$work/out-$name" 2>/dev/null || fail "$name: exit $?"
  grep -q "^$work/${file%.docx}.scrivano.docx\$" "$work/out-$name" || fail "$name: the report does not name the review copy"
}
run_option "option 3" broken.docx --answer 3 --answer yes
run_option "option 4" double.docx --answer 4 --answer 2
run_option "option 5" soft.docx --answer 5
run_option "option 6" pairs.docx --answer 6
run_option "option 9" numbers.docx --answer 9 --param '20=beta'

# Option 4 with a wrong separator number: the message, no copy of that file.
printf '%s\n' "$work/pairs.docx" >"$work/list"
"$cli" run 17 --answer 4 --answer 9 --input "$work/list" --transcript "$work/t4" >"$work/out4" 2>/dev/null
grep -q 'Wrong operation number!' "$work/t4" || fail "option 4: no \"Wrong operation number!\""
grep -q 'No document was changed.' "$work/out4" || fail "option 4: a wrong separator changed a document"

# Option 11: the target's paragraphs after the source's, in a copy of the source.
printf '%s\n%s\n' "$work/source.docx" "$work/target.docx" >"$work/list"
"$cli" run 17 --answer 11 --answer no --input "$work/list" >"$work/out11" 2>/dev/null || fail "option 11: exit $?"
grep -q "^$work/source.bak.docx\$" "$work/out11" || fail "option 11: the window text does not name source.bak.docx"
grep -q '^目标二$' "$work/out11" || fail "option 11: the window text lacks the pairs"
cp "$work/source.bak.docx" "$work/interleaved.docx"

# Option 2: pages alternate in a new document under the source's backup name.
printf '%s\n%s\n' "$work/source.docx" "$work/target2.docx" >"$work/list"
"$cli" run 17 --answer 2 --input "$work/list" >"$work/out2" 2>/dev/null || fail "option 2: exit $?"
grep -q "^$work/source.bak.docx\$" "$work/out2" || fail "option 2: the window text does not name source.bak.docx"
cp "$work/source.bak.docx" "$work/combined.docx"

# LibreOffice reads every document written with the expected text.
mkdir -p "$work/text"
soffice "-env:UserInstallation=file://$work/profile" --headless --norestore --convert-to 'txt:Text (encoded):UTF8' \
  --outdir "$work/text" "$work/spaces.scrivano.docx" "$work/tags10.docx" "$work/filter.scrivano.docx" \
  "$work/broken.scrivano.docx" "$work/double.scrivano.docx" "$work/soft.scrivano.docx" "$work/pairs.scrivano.docx" \
  "$work/numbers.scrivano.docx" "$work/interleaved.docx" "$work/combined.docx" >/dev/null 2>&1
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
expect_text "option 3" "$work/text/broken.scrivano.txt" "$(printf 'The quick brown fox jumps over\n\n第二段')"
expect_text "option 4" "$work/text/double.scrivano.txt" "$(printf 'Hello world\nHello world\nabc')"
expect_text "option 5" "$work/text/soft.scrivano.txt" "目标文本在这里"
expect_text "option 6" "$work/text/pairs.scrivano.txt" "$(printf '目标一\n目标二')"
expect_text "option 9" "$work/text/numbers.scrivano.txt" "$(printf 'Up 12.5%% on 3 May\nalpha beta')"
expect_text "option 11" "$work/text/interleaved.txt" "$(printf 'Source page one\n目标一\nSource two\n目标二\n')"
expect_text "option 2" "$work/text/combined.txt" "$(printf 'Source page one\nSource two\n第一页 page one')"

# The blue of option 9, as LibreOffice reads it.
soffice "-env:UserInstallation=file://$work/profile" --headless --norestore --convert-to fodt \
  --outdir "$work/text" "$work/numbers.scrivano.docx" >/dev/null 2>&1
grep -q 'fo:color="#0000ff"' "$work/text/numbers.scrivano.fodt" || fail "option 9: LibreOffice reads no blue"

[ "$(md5sum $docs)" = "$originals" ] || fail "an original was changed"

finish "all Word processing runner checks passed"
