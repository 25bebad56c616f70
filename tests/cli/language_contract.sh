#!/usr/bin/env bash
# The runner's contract for the language-aware entries: "02. Clean various tags" (both options),
# "14. Split English and Chinese" and extract-phrases, with answers, transcripts and exit codes.
# Usage: language_contract.sh scrivano-cli
set -u
cli=$1
. "$(dirname "$0")/common.sh"

# expect_output NAME EXPECTED-PRINTF-FORMAT: compares $work/out with the bytes printf makes of the format.
expect_output() {
  printf "$2" >"$work/expected"
  cmp -s "$work/expected" "$work/out" ||
    fail "$1: output $(od -An -c "$work/out" | tr -s ' \n' ' '), expected $(od -An -c "$work/expected" | tr -s ' \n' ' ')"
}

# expect_transcript NAME LINE...: each LINE is kind|caption|text|answer (answer "-" for none), one per
# dialog, in order. Line breaks in texts are written \r and \n.
expect_transcript() {
  local name=$1
  shift
  python3 - "$work/t" "$@" <<'EOF' || fail "$name: transcript"
import json, sys
got = []
for line in open(sys.argv[1], encoding="utf-8"):
    d = json.loads(line)
    answer = "-" if d.get("answer") is None else d["answer"]
    got.append("|".join([d["kind"], d["caption"], d["text"], answer]).replace("\r", "\\r").replace("\n", "\\n"))
want = sys.argv[2:]
if got != want:
    print("  got:      " + repr(got))
    print("  expected: " + repr(want))
    sys.exit(1)
EOF
}

# run_entry NAME EXPECTED-EXIT INPUT-PRINTF-FORMAT ARGS...: runs the entry on the input, raw, with a
# transcript; output in $work/out.
run_entry() {
  local name=$1 expected=$2 input=$3
  shift 3
  printf "$input" | "$cli" run "$@" --raw --transcript "$work/t" >"$work/out" 2>"$work/err"
  local rc=$?
  [ $rc -eq "$expected" ] || fail "$name: exit $rc, expected $expected ($(cat "$work/err"))"
}

option1='1. Remove DejaVu tags '
option2='2. Remove <pt> <ph> tags'
tagsPrompt='Please select an option:'

# --- 02. Clean various tags -------------------------------------------------------------------------
run_entry "tags option 1" 0 'a{1}b\r\n- c' 2 --answer "$option1"
expect_output "tags option 1" '\r\na b\r\nc'
expect_transcript "tags option 1" "select||$tagsPrompt|$option1"

run_entry "tags option 2" 0 'A<pt1>B</pt1>C<ph2/>D' clean-tags --answer "$option2"
expect_output "tags option 2" 'ABCD'

run_entry "tags typed number" 0 '<pt1>x<pt2>y</pt2>z</pt1>' 2 --answer 2
expect_output "tags typed number" 'xyz'

run_entry "wrong tag" 0 'A<ptx>B' 2 --answer 2
expect_output "wrong tag" 'Wrong tag:\r\n\r\n<ptx'

run_entry "unmatched brace" 0 'a{x' 2 --answer 1
expect_output "unmatched brace" '\r\na x'
expect_transcript "unmatched brace" "select||$tagsPrompt|1" "message|Notice|{} doesn't match !|-"

run_entry "wrong option" 0 'a{1}b' 2 --answer 3
expect_output "wrong option" 'a{1}b'
expect_transcript "wrong option" "select||$tagsPrompt|3" "message|Notice|Wrong operation number!|-"

run_entry "tags cancelled" 0 'a{1}b' 2 --answer '<cancel>'
expect_output "tags cancelled" 'a{1}b'

run_entry "tags without answer" 3 'a{1}b' 2
[ ! -s "$work/out" ] || fail "tags without answer: output written"

# --- 14. Split English and Chinese -----------------------------------------------------------------
split_params=(--param 8=3/1 --param 6= --param 7= --param 5='#')
pairs='Good morning.\r\n\xe6\x97\xa9\xe4\xb8\x8a\xe5\xa5\xbd\xe3\x80\x82\r\nHow are you?\r\n\xe4\xbd\xa0\xe5\xa5\xbd\xe5\x90\x97\xef\xbc\x9f\r\n'
keepQuestion='Keep source and target in different lines ?'
numbersQuestion='Delete number-only lines ?'
returnQuestion='Replace RETURN with SPACE ? (if No, with EMPTY STRING)'

run_entry "split one line per pair" 0 "$pairs" 14 "${split_params[@]}" --answer no --answer no --answer yes
expect_output "split one line per pair" 'Good morning.\t\xe6\x97\xa9\xe4\xb8\x8a\xe5\xa5\xbd\xe3\x80\x82\r\nHow are you?\t\xe4\xbd\xa0\xe5\xa5\xbd\xe5\x90\x97\xef\xbc\x9f\r\n'
expect_transcript "split one line per pair" "yesno|Notice|$keepQuestion|no" "yesno|Notice|$numbersQuestion|no" \
  "yesno|Notice|$returnQuestion|yes"

run_entry "split separate lines" 0 "$pairs" split-en-zh "${split_params[@]}" --answer yes --answer no --answer yes
expect_output "split separate lines" 'Good morning.\r\n\xe6\x97\xa9\xe4\xb8\x8a\xe5\xa5\xbd\xe3\x80\x82\r\n\r\nHow are you?\r\n\xe4\xbd\xa0\xe5\xa5\xbd\xe5\x90\x97\xef\xbc\x9f\r\n'

run_entry "split without line list" 0 'abc\r\ndef' 14 --param 5= --param 8=3/1 --answer yes --answer no
expect_output "split without line list" 'abcdef\r\n'
expect_transcript "split without line list" "yesno|Notice|$keepQuestion|yes" "message|Notice|Wrong parameter format!|-" \
  "yesno|Notice|$returnQuestion|no"

run_entry "split bad answer" 2 "$pairs" 14 "${split_params[@]}" --answer maybe
run_entry "split answers missing" 3 "$pairs" 14 "${split_params[@]}" --answer no --answer no
[ ! -s "$work/out" ] || fail "split answers missing: output written"

# --- extract-phrases ---------------------------------------------------------------------------------
phrases='the red car is fast\rthe red car\rI like the red car\r\xe6\x88\x91\xe5\x96\x9c\xe6\xac\xa2\xe7\xba\xa2\xe8\x89\xb2\xe7\x9a\x84\xe8\xbd\xa6\r\xe7\xba\xa2\xe8\x89\xb2\xe7\x9a\x84\xe8\xbd\xa6\xe5\xbe\x88\xe5\xbf\xab\r'
phrasePrompt='Please set a minimum and maximum word number and repetion:'
run_entry "phrases" 0 "$phrases" extract-phrases --param 21='2 4 2	1 4 3' --param 22= --answer '2 4 2'
expect_output "phrases" '\xe7\xba\xa2\xe8\x89\xb2\xe7\x9a\x84\xe8\xbd\xa6     2\r\nthe red car     3\r\n\r\n=========================\r\n\r\n    3     the red car\r\n    2     \xe7\xba\xa2\xe8\x89\xb2\xe7\x9a\x84\xe8\xbd\xa6'
expect_transcript "phrases" "select||$phrasePrompt|2 4 2"
python3 -c 'import json,sys; d=json.loads(open(sys.argv[1]).readline()); sys.exit(d["options"] != ["1 4 3", "2 4 2"])' "$work/t" ||
  fail "phrases: prompt options not the sorted presets"

run_entry "phrases cancelled" 0 'a b\ra b' extract-phrases --answer '<cancel>'
expect_output "phrases cancelled" 'a b\ra b'

run_entry "phrases without answer" 3 'a b' extract-phrases
"$cli" list | grep -q '^14. Split English and Chinese  (split-en-zh)$' || fail "list: entry 14 not runnable"
"$cli" list | grep -q '^02. Clean various tags  (clean-tags)$' || fail "list: entry 2 not runnable"

finish "all language contract checks passed"
