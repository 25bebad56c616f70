#!/usr/bin/env bash
# The runner under hostile conditions: failed writes, bad bytes in answers, unreadable standard input.
# Usage: hostile_contract.sh scrivano-cli
set -u
cli=$1
. "$(dirname "$0")/common.sh"

# A write error on standard output is a message and exit 1, never a silent success.
if [ -w /dev/full ]; then
  printf 'abc\n' | "$cli" run 9 >/dev/full 2>"$work/err"; rc=$?
  [ $rc -eq 1 ] || fail "stdout on a full device: exit $rc"
  grep -q 'cannot write standard output' "$work/err" || fail "stdout on a full device: no message"
  printf 'x\n' | "$cli" run 14 --answer no --answer no --answer yes --transcript /dev/full >"$work/out" 2>"$work/err"; rc=$?
  [ $rc -eq 1 ] || fail "transcript on a full device: exit $rc"
  grep -q 'cannot write the transcript' "$work/err" || fail "transcript on a full device: no message"
  "$cli" list >/dev/full 2>/dev/null; rc=$?
  [ $rc -eq 1 ] || fail "list on a full device: exit $rc"
fi
printf 'abc\n' | "$cli" run 9 >&- 2>"$work/err"; rc=$?
[ $rc -eq 1 ] || fail "closed stdout: exit $rc"
grep -q 'cannot write standard output' "$work/err" || fail "closed stdout: no message"

# An answer that is not UTF-8 is recorded with U+FFFD instead of aborting the writer.
printf 'x\n' | "$cli" run 14 --answer $'\xff' --answer no --answer yes --transcript "$work/t" >"$work/out" 2>"$work/err"
rc=$?
[ $rc -eq 2 ] || fail "invalid UTF-8 Yes/No answer: exit $rc, expected the usage error"
printf 'a b a b\n' | "$cli" run extract-phrases --answer $'2 2 2\xff' --transcript "$work/t" >"$work/out" 2>"$work/err"
rc=$?
[ $rc -eq 0 ] || fail "invalid UTF-8 selection answer: exit $rc"
grep -q $'\xef\xbf\xbd' "$work/t" || fail "invalid UTF-8 selection answer: no U+FFFD in the transcript"

# Running out of memory is one clear line and exit 1, not an abort (skipped where the program cannot start
# under a memory limit at all, as under AddressSanitizer).
if (ulimit -v 400000; "$cli" list >/dev/null 2>&1); then
  rc=$(ulimit -v 400000; printf '/dev/zero\n' | "$cli" run combine >/dev/null 2>"$work/err"; echo $?)
  [ "$rc" -eq 1 ] || fail "combine of /dev/zero under a memory limit: exit $rc"
  grep -q 'out of memory' "$work/err" || fail "combine of /dev/zero: no message"
fi

# A read error on standard input is an error like an unreadable --input: exit 2, nothing written.
printf 'keep\n' >"$work/prev"
"$cli" run 9 --output "$work/prev" <"$work" 2>"$work/err"; rc=$?
[ $rc -eq 2 ] || fail "stdin is a folder: exit $rc"
grep -q 'cannot read standard input' "$work/err" || fail "stdin is a folder: no message"
[ "$(cat "$work/prev")" = keep ] || fail "stdin is a folder: the output file was changed"

finish "all hostile-input checks passed"
