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

# A transcript that is the input, the output or the parameter file is refused before anything is written.
printf 'abc\n' >"$work/in"
cp "$work/in" "$work/same"
ln -f "$work/same" "$work/hardlink"
for args in "--input $work/same" "--output $work/same" "--config $work/same"; do
  # shellcheck disable=SC2086
  "$cli" run 9 $args --transcript "$work/hardlink" <"$work/in" >/dev/null 2>"$work/err"; rc=$?
  [ $rc -eq 2 ] || fail "transcript as $args: exit $rc"
  grep -q 'is the same file as' "$work/err" || fail "transcript as $args: no message"
  [ "$(cat "$work/same")" = abc ] || fail "transcript as $args: the file was changed"
done
"$cli" run 9 --transcript "$work/same" <"$work/same" >/dev/null 2>"$work/err"; rc=$?
[ $rc -eq 2 ] || fail "transcript as redirected input: exit $rc"
printf 'abc\n' | "$cli" run 9 --output "$work/new" --transcript "$work/../$(basename "$work")/new" 2>/dev/null; rc=$?
[ $rc -eq 2 ] || fail "transcript as the output not made yet: exit $rc"
[ ! -e "$work/new" ] || fail "transcript as the output not made yet: a file was written"

# An output through a dangling symbolic link is written at the link's target; a loop is refused.
ln -s target "$work/dangling"
printf 'abc\n' | "$cli" run 10 --output "$work/dangling" 2>/dev/null
[ -L "$work/dangling" ] && [ "$(cat "$work/target")" = ABC ] || fail "dangling symlink output: link replaced or target not written"
ln -s loop-b "$work/loop-a"
ln -s loop-a "$work/loop-b"
printf 'abc\n' | "$cli" run 10 --output "$work/loop-a" 2>"$work/err"; rc=$?
[ $rc -eq 2 ] || fail "symlink loop output: exit $rc"
grep -q 'loop' "$work/err" || fail "symlink loop output: no message"
[ -L "$work/loop-a" ] || fail "symlink loop output: the link was replaced"

# A 250-byte output name fits its temporary name.
long=$(printf 'n%.0s' $(seq 250))
printf 'abc\n' | "$cli" run 10 --output "$work/$long" 2>"$work/err" || fail "250-byte output name: $(cat "$work/err")"
[ "$(cat "$work/$long" 2>/dev/null)" = ABC ] || fail "250-byte output name: not written"

# Undecodable input taken with --lossy is counted on standard error; the text keeps U+FFFD.
printf 'a\xff\xfe\xef\xbf\xbd\n' | "$cli" run 10 --encoding utf8 --lossy >"$work/out" 2>"$work/err"
grep -q '2 characters of the input could not be decoded' "$work/err" || fail "undecodable count: $(cat "$work/err")"

# A parameter file that cannot be read as one is said once; answers not used are counted.
printf '\xfe\xff\0[\0P' >"$work/config.ini"
printf 'abc\n' | "$cli" run 10 --config "$work/config.ini" --answer x --answer y >"$work/out" 2>"$work/err"
[ "$(grep -c 'could not be read as one' "$work/err")" -eq 1 ] || fail "unparsable config: not said once"
grep -q '2 answers were not used' "$work/err" || fail "unused answers: not counted"

# A FIFO without a writer is given up after a bounded wait.
mkfifo "$work/fifo"
timeout 30 "$cli" run 10 --input "$work/fifo" >/dev/null 2>"$work/err"; rc=$?
[ $rc -eq 2 ] || fail "FIFO without a writer: exit $rc"
grep -q 'nothing writes to it' "$work/err" || fail "FIFO without a writer: no message"
(printf 'abc\n' >"$work/fifo" &)
[ "$(timeout 30 "$cli" run 10 --input "$work/fifo" --raw)" = ABC ] || fail "FIFO with a writer: not read"

# A run ended by SIGTERM while it writes leaves no temporary file behind.
head -c 60000000 /dev/zero | tr '\0' 'a' >"$work/big"
mkdir "$work/killed"
"$cli" run 10 --input "$work/big" --output "$work/killed/out" 2>/dev/null &
pid=$!
for _ in $(seq 200); do
  ls -A "$work/killed" | grep -q '^\.out\.' && break
  sleep 0.02
done
kill -TERM $pid 2>/dev/null
wait $pid 2>/dev/null
[ -z "$(ls -A "$work/killed" | grep '^\.out\.')" ] || fail "SIGTERM while writing: the temporary file was left"

finish "all hostile-input checks passed"
