#!/usr/bin/env bash
# The runner's contract end to end: output bytes, exit codes, transcript. Usage: contract.sh scrivano-cli
set -u
cli=$1
. "$(dirname "$0")/common.sh"
expect_bytes() {  # name expected-hex file
  local got
  got=$(od -An -tx1 -v "$3" | tr -d ' \n')
  [ "$got" = "$2" ] || fail "$1: bytes $got, expected $2"
}

printf 'aBc\r\n' | "$cli" run 10 --raw >"$work/out"; rc=$?
[ $rc -eq 0 ] || fail "uppercase raw: exit $rc"
expect_bytes "uppercase raw" "4142430d0a" "$work/out"

printf 'AbC\nX\r\n' | "$cli" run lowercase >"$work/out"
expect_bytes "lowercase converts line breaks" "6162630a780a" "$work/out"

printf 'a\0b\0c' | "$cli" run 10 --encoding utf16le --raw --lossy >"$work/out"
expect_bytes "utf16le input, odd byte replaced" "41004200fdff" "$work/out"

printf '\xef\xbb\xbfa\xff' >"$work/in"
"$cli" run 10 --input "$work/in" --output "$work/out2" --lossy
expect_bytes "utf8 mark dropped, invalid byte replaced" "41efbfbd" "$work/out2"

"$cli" run 99 </dev/null 2>"$work/err"; rc=$?
[ $rc -eq 2 ] || fail "unknown entry: exit $rc"
grep -q 'unknown entry' "$work/err" || fail "unknown entry: no message"

"$cli" run 10 --bogus </dev/null 2>/dev/null; rc=$?
[ $rc -eq 2 ] || fail "bad option: exit $rc"

"$cli" run 10 --param 23=x </dev/null 2>/dev/null; rc=$?
[ $rc -eq 2 ] || fail "bad --param: exit $rc"

"$cli" run 10 --input "$work/missing" 2>/dev/null; rc=$?
[ $rc -eq 2 ] || fail "unreadable input: exit $rc"

"$cli" run 18 </dev/null 2>"$work/err"; rc=$?
[ $rc -eq 2 ] || fail "desktop entry: exit $rc"
grep -q 'needs the desktop' "$work/err" || fail "desktop entry: no message"

"$cli" run 10 --answer yes --answer no --param 0=1 --param 0=2 --transcript "$work/t" </dev/null >"$work/out"; rc=$?
[ $rc -eq 0 ] || fail "leftover answers: exit $rc"
[ ! -s "$work/t" ] || fail "transcript should be empty for an entry without dialogs"

# --- Encodings ------------------------------------------------------------------------------------
printf '[PARAMETERS]\n' >"$work/params.ini"
run10() { "$cli" run 10 --raw --config "$work/params.ini" "$@"; }
data=$(cd "$(dirname "$0")/../data/encodings" && pwd)
hex() { od -An -tx1 -v | tr -d ' \n'; }
# The text of a file of the table as UTF-8, and uppercased.
text_utf8() { tail -c +$((${#3} / 2 + 1)) "$data/$1" | iconv -f "$2" -t UTF-8; }
uppercase_utf8() { text_utf8 "$@" | tr a-z A-Z; }

# Every file through entry 10, read by its bytes, kept in its encoding, and read as named; and all of
# them through entry 3, which reads the files of a list. Columns: file, its encoding for iconv, its mark,
# its name for --encoding.
: >"$work/list"
: >"$work/combined"
while read -r file iconv_name mark name; do
  [ "$mark" = - ] && mark=""
  printf '%s\r\n' "$data/$file" >>"$work/list"
  { printf '\r\n%88s\r\n' ''; text_utf8 "$file" "$iconv_name" "$mark"; } >>"$work/combined"
  expected=$(uppercase_utf8 "$file" "$iconv_name" "$mark" | hex)
  expected_own=$(uppercase_utf8 "$file" "$iconv_name" "$mark" | iconv -f UTF-8 -t "$iconv_name" | hex)
  run10 --input "$data/$file" >"$work/out"; rc=$?
  [ $rc -eq 0 ] || fail "$file read by its bytes: exit $rc"
  expect_bytes "$file read by its bytes, written as UTF-8" "$expected" "$work/out"
  run10 <"$data/$file" >"$work/out"
  expect_bytes "$file as standard input" "$expected" "$work/out"
  # shellcheck disable=SC2002 # a pipe, which is read whole
  cat "$data/$file" | run10 --keep-encoding >"$work/out"
  expect_bytes "$file from a pipe with --keep-encoding" "$mark$expected_own" "$work/out"
  run10 --encoding "$name" --input "$data/$file" >"$work/out"
  expect_bytes "$file with --encoding $name" "$expected_own" "$work/out"
done <<'TABLE'
big5-lf.txt        CP950     -      big5
gb18030-4byte.txt  GB18030   -      gb18030
gbk-crlf.txt       GB18030   -      GBK
gbk-odd.txt        GB18030   -      cp936
utf16be-mark.txt   UTF-16BE  feff   utf16be
utf16le-mark.txt   UTF-16LE  fffe   UTF-16LE
utf16le.txt        UTF-16LE  -      utf16le
utf8-lf.txt        UTF-8     -      utf8
utf8-mark.txt      UTF-8     efbbbf utf-8
TABLE
"$cli" run combine --raw --config "$work/params.ini" <"$work/list" >"$work/out"
cmp -s "$work/out" "$work/combined" || fail "combine of every encoding: $(cat "$work/out")"

# A GBK file whose first Chinese character comes after the first chunk the UTF-8 decoder reads.
{ head -c 300000 /dev/zero | tr '\0' a; cat "$data/gbk-crlf.txt"; } >"$work/late-gbk"
run10 --input "$work/late-gbk" | tail -c +300001 >"$work/out"
expect_bytes "GBK after 300000 ASCII bytes" "$(uppercase_utf8 gbk-crlf.txt GB18030 "" | hex)" "$work/out"

# bytes (printf), options, exit status, output (hex), message. Nothing is written where something would
# be lost, unless --lossy. 中文 in UTF-8 is also GB18030 (涓枃): UTF-8 wins unless GB18030 is named.
while IFS='|' read -r bytes options status output message; do
  printf 'keep' >"$work/prev"
  printf "$bytes" >"$work/in"
  # shellcheck disable=SC2086
  run10 $options --input "$work/in" --output "$work/prev" 2>"$work/err"; rc=$?
  what="[$bytes] $options"
  [ $rc -eq "$status" ] || fail "$what: exit $rc, expected $status: $(cat "$work/err")"
  [ "$status" -eq 0 ] || output=6b656570  # keep
  expect_bytes "$what" "$output" "$work/prev"
  if [ -n "$message" ]; then grep -qF "$message" "$work/err" || fail "$what: message $(cat "$work/err")"; fi
done <<'TABLE'
ab\xffcd|--encoding utf8|4||cannot be decoded as UTF-8: the byte at offset 2 is not valid there; nothing was written
ab\xffcd|--encoding utf8 --lossy|0|4142efbfbd4344|1 character of the input could not be decoded as UTF-8 and became U+FFFD
\xd6||4||cannot be decoded as GB18030 (detected): the byte at offset 0 is not valid there
\xd6\xd0\xff|--lossy|0|e4b8adefbfbd|1 character of the input could not be decoded as GB18030
\xa4\x40\xa4|--encoding big5|4||cannot be decoded as Big5: the byte at offset 2
a\0b\0c|--encoding utf16le|4||cannot be decoded as UTF-16LE: the byte at offset 4 is half a unit
\xfe\xff\0a\0||4||cannot be decoded as UTF-16BE (detected): the byte at offset 4 is half a unit
||0||
|--keep-encoding --encoding utf16le|0||
\xe4\xb8\xad\xe6\x96\x87||0|e4b8ade69687|
\xe4\xb8\xad\xe6\x96\x87|--encoding gb18030 --output-encoding utf8|0|e6b693ee859fe69e83|
a\n\xe4\xb8\xaa|--output-encoding big5|4||cannot be encoded as Big5: U+4E2A "个" at line 2, column 1 has no Big5 code; nothing was written
a\n\xe4\xb8\xaa|--output-encoding big5 --lossy|0|410a3f|1 character of the output could not be encoded as Big5 and became "?"
\xe4\xb8\xad\xe4\xb8\xaa|--output-encoding gbk|0|d6d0b8f6|
\xff\xfe\x00\xd8|--keep-encoding|0|fffe00d8|
\xff\xfe\x00\xd8|--output-encoding utf8|4||cannot be encoded as UTF-8: U+D800 (half of a UTF-16 pair) at line 1, column 1 is no character
\xff\xfe\x00\xd8|--lossy|0|efbfbd|1 character of the output could not be encoded as UTF-8 and became U+FFFD
\xef\xbb\xbfab\r\nc|--keep-encoding|0|efbbbf41420d0a43|
\xef\xbb\xbfab\xef\xbb\xbf|--output-encoding utf8|0|4142efbbbf|
a\0b|--encoding utf8|0|410042|
a\rb\r\r\n||0|410d420d0d0a|
TABLE

# The same refusals and readings from a pipe, which can be read only once.
printf 'ab\xffcd' | run10 --encoding utf8 >"$work/out" 2>/dev/null; rc=$?
[ $rc -eq 4 ] && [ ! -s "$work/out" ] || fail "ill-formed UTF-8 from a pipe: exit $rc"
printf '\xd6\xd0a' | run10 >"$work/out"
expect_bytes "GB18030 from a pipe" "e4b8ad41" "$work/out"

"$cli" run 10 --encoding latin1 </dev/null 2>"$work/err"; rc=$?
[ $rc -eq 2 ] || fail "unknown encoding: exit $rc"
"$cli" run 10 --keep-encoding --output-encoding utf8 </dev/null 2>/dev/null; rc=$?
[ $rc -eq 2 ] || fail "--keep-encoding with --output-encoding: exit $rc"

"$cli" list >"$work/list"
[ "$(wc -l <"$work/list")" -eq 19 ] || fail "list: not nineteen lines"
grep -q '^09. Make lowercase' "$work/list" || fail "list: entry 9 missing"

finish "all runner contract checks passed"
