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

printf 'a\0b\0c' | "$cli" run 10 --encoding utf16le --raw >"$work/out"
expect_bytes "utf16le input, odd byte dropped" "41004200" "$work/out"

printf '\xef\xbb\xbfa\xff' >"$work/in"
"$cli" run 10 --input "$work/in" --output "$work/out2"
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

"$cli" list >"$work/list"
[ "$(wc -l <"$work/list")" -eq 19 ] || fail "list: not nineteen lines"
grep -q '^09. Make lowercase' "$work/list" || fail "list: entry 9 missing"

finish "all runner contract checks passed"
