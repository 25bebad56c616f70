#!/usr/bin/env bash
# The line and segment entries (1, 3, 4, 5, 7, 8, 12, 15, 16) through the runner: output bytes, dialogs in
# the transcript, exit codes. Usage: lines_contract.sh scrivano-cli
set -u
cli=$1
. "$(dirname "$0")/common.sh"

# Parameters come only from the command line: an empty parameter file.
: >"$work/empty.ini"
run() { "$cli" run "$@" --config "$work/empty.ini"; }

# expect NAME EXPECTED FILE: FILE holds exactly the bytes of EXPECTED (printf %b escapes).
expect() {
  printf '%b' "$2" >"$work/expected"
  cmp -s "$work/expected" "$3" ||
    fail "$1: got [$(od -An -c "$3" | tr -s ' ' | head -c 300)], expected [$(od -An -c "$work/expected" | tr -s ' ' | head -c 300)]"
}
# expect_rc NAME EXPECTED ACTUAL
expect_rc() { [ "$3" -eq "$2" ] || fail "$1: exit $3, expected $2"; }
# expect_transcript NAME FILE: FILE holds exactly the JSON lines given on standard input.
expect_transcript() {
  cat >"$work/expected-transcript"
  cmp -s "$work/expected-transcript" "$2" || fail "$1: transcript $(cat "$2"), expected $(cat "$work/expected-transcript")"
}

option1='1. Source + Return + Target -> Source + Tab + Target'
align_select='{"answer":ANSWER,"caption":"","kind":"select","options":["1. Source + Return + Target -> Source + Tab + Target","2. Source + Tab + Target -> Source + Return + Target","3. Src file + ===== + Trg file  -> Source + Tab + Target","4. TMX format  -> Source + Tab + Target"],"text":"Please select an option:"}'
layout_select='{"answer":ANSWER,"caption":"","kind":"select","options":["1. Up down","2. Left right","3. Down up","4. Right left "],"text":"Please select an option:"}'
selected() { echo "${1/ANSWER/$2}"; }

# --- 01. Align source and target ------------------------------------------------------------------
printf 'a\r\n\r\nb\r\nc' | run 1 --raw --answer "$option1" --transcript "$work/t" >"$work/out"; rc=$?
expect_rc "align option 1" 0 $rc
expect "align option 1" '\r\na\tb' "$work/out"
expect_transcript "align option 1" "$work/t" <<JSON
$(selected "$align_select" "\"$option1\"")
{"answer":null,"caption":"Source and target are not in pairs!","kind":"message","text":"Source: c\\r\\n\\r\\nTarget: "}
JSON

printf 's1\r\ns2\r\ns3\r\n=====\r\nt1\r\nt2' | run align --raw --answer 3 --transcript "$work/t" >"$work/out"
expect "align option 3" '\r\ns1\tt1\r\ns2\tt2' "$work/out"
expect_transcript "align option 3" "$work/t" <<JSON
$(selected "$align_select" '"3"')
JSON

printf '<tu><seg>Hello</seg><seg>\xe4\xbd\xa0\xe5\xa5\xbd</seg></tu>\r\n<seg>a</seg><seg>b</seg>' |
  run align --raw --answer 4 --transcript "$work/t" >"$work/out"
expect "align option 4, text ending with </seg>" '\r\nHello\t\xe4\xbd\xa0\xe5\xa5\xbd\r\na\tb' "$work/out"
[ "$(wc -l <"$work/t")" -eq 1 ] || fail "align option 4: a message was shown: $(cat "$work/t")"

printf '<seg>a</seg><seg>b</seg><seg>c' | run align --raw --answer 4 --transcript "$work/t" >"$work/out"
expect "align option 4 unbalanced" '\r\na\tb' "$work/out"
grep -qxF '{"answer":null,"caption":"Notice","kind":"message","text":"Something wrong!"}' "$work/t" ||
  fail "align option 4 unbalanced: no message"

printf 'a\r\nb' | run align --raw --answer 7 --transcript "$work/t" >"$work/out"; rc=$?
expect_rc "align wrong number" 0 $rc
expect "align wrong number hands back the text" 'a\r\nb' "$work/out"
expect_transcript "align wrong number" "$work/t" <<JSON
$(selected "$align_select" '"7"')
{"answer":null,"caption":"Notice","kind":"message","text":"Wrong operation number!"}
JSON

printf 'a\r\nb' | run align --raw --answer '<cancel>' >"$work/out"
expect "align cancelled" 'a\r\nb' "$work/out"

printf 'a\nb\n' | run align --answer 1 >"$work/out"
expect "align converts line breaks both ways" '\na\tb' "$work/out"

printf 'a\r\nb' | run align --raw --transcript "$work/t" >"$work/out" 2>"$work/err"; rc=$?
expect_rc "align without answer" 3 $rc
[ ! -s "$work/out" ] || fail "align without answer: output written"
grep -q 'no answer for question' "$work/err" || fail "align without answer: no message"

# --- 03. Combine windows/files text -----------------------------------------------------------------
spaces=$(printf '%88s' '')
printf '\xff\xfe\x2c\x67\x0d\x00\x0a\x00\x61\x00' >"$work/a.txt"   # UTF-16: "本\r\na"
printf 'plain' >"$work/b.txt"
printf '%s\r\nnot a file\r\n  %s  \r\n' "$work/a.txt" "$work/b.txt" | run 3 --raw --transcript "$work/t" >"$work/out"; rc=$?
expect_rc "combine files" 0 $rc
expect "combine files" "\\r\\n$spaces\\r\\n\\xe6\\x9c\\xac\\r\\na\\r\\n$spaces\\r\\nplain" "$work/out"
[ ! -s "$work/t" ] || fail "combine files: dialogs shown: $(cat "$work/t")"

mkdir "$work/folder"
printf '%s\r\nnot a file' "$work/folder" | run combine --raw --transcript "$work/t" >"$work/out" 2>"$work/err"; rc=$?
expect_rc "combine without a readable file" 2 $rc
[ ! -s "$work/out" ] || fail "combine without a readable file: output written"
grep -q 'needs the desktop' "$work/err" || fail "combine without a readable file: no desktop message"
expect_transcript "combine without a readable file" "$work/t" <<JSON
{"answer":null,"caption":"Notice","kind":"message","text":"Could not open \"$work/folder\" file."}
JSON

# --- 04. Delete lines with specified substring -----------------------------------------------------
printf 'ax\r\n\r\n b \r\nyy\r\nX' | run 4 --raw --param 9=$'x\ty' >"$work/out"
expect "delete lines" '\r\nb\r\nX' "$work/out"

# --- 05. Extract ending lines -----------------------------------------------------------------------
printf 'A1\r\nA2\r\n\xe7\x94\xb2\r\n\r\n\xe4\xb9\x99\r\nB' | run 5 --raw >"$work/out"
expect "ending lines" '\r\nA2\r\n\xe4\xb9\x99\r\nB' "$work/out"

# --- 07. Generate Trados format ----------------------------------------------------------------------
printf 'A.  B\r\n\r\nHi. ' | run 7 --raw >"$work/out"
expect "generate segments" '{0>A.<}0{>A.<0} {0> B<}0{> B<0}\r\n\r\n{0>Hi.<}0{>Hi.<0} \r\n' "$work/out"

# --- 08. Link adjacent lines -------------------------------------------------------------------------
printf 'one\r\ntwo\r\n\r\n\xe4\xb8\x89\r\n\xe5\x9b\x9b' | run 8 --raw >"$work/out"
expect "link lines" 'one two\r\n\r\n\xe4\xb8\x89\r\n\xe5\x9b\x9b\r\n' "$work/out"
printf 'ab\rcd\r\nef' | run link-lines --raw >"$work/out"
expect "link lines keeps the character after a lone carriage return" 'ab cd ef\r\n' "$work/out"

# --- 12. Remove redundant empty lines ----------------------------------------------------------------
printf '\r\n a \r\n\r\n\r\nb\r\n' | run 12 --raw >"$work/out"
expect "remove empty lines" '\r\n\r\na\r\n\r\nb' "$work/out"

# --- 15. Split lines ---------------------------------------------------------------------------------
printf 'See 2.Next pi 3.14' | run 15 --raw >"$work/out"
expect "split lines" 'See\r\n\r\n2.Next pi 3.14\r\n\r\n' "$work/out"

# --- 16. Trados to segmentation format ---------------------------------------------------------------
segments='{0>Hello.<}0{>\xe4\xbd\xa0\xe5\xa5\xbd<0} {0>Bye.<}0{>\xe5\x86\x8d\xe8\xa7\x81<0}'
printf "$segments" | run 16 --raw --answer '2. Left right' --transcript "$work/t" >"$work/out"; rc=$?
expect_rc "segments to pairs" 0 $rc
expect "segments to pairs" '\r\nHello. Bye.\t\xe4\xbd\xa0\xe5\xa5\xbd\xe5\x86\x8d\xe8\xa7\x81' "$work/out"
expect_transcript "segments to pairs" "$work/t" <<JSON
$(selected "$layout_select" '"2. Left right"')
JSON
printf "$segments" | run trados-to-pairs --raw --answer '<cancel>' >"$work/out"; rc=$?
expect_rc "segments to pairs cancelled" 0 $rc
expect "segments to pairs cancelled hands back the empty text" '' "$work/out"
printf '{0>abc' | run trados-to-pairs --raw --answer 2 --transcript "$work/t" >"$work/out"
expect "broken segment pairs nothing" '' "$work/out"
grep -qxF '{"answer":null,"caption":"Wrong Trados format","kind":"message","text":"{0>abc"}' "$work/t" ||
  fail "broken segment: no message"

finish "all line and segment runner checks passed"
