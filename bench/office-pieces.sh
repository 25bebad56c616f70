#!/usr/bin/env bash
# Whole-program benchmark of the office-window mode: Function List entry 16 (layout 2) converts a Writer
# document of PARAGRAPHS segment paragraphs piece by piece, through the NextPiece macro, on a private
# Xvfb display with openbox. Reports per run the time from the answer to the prompt until the Writer
# window's title asks the user to keep off, the time the run took while it did, the time per piece, and
# whether every paragraph came out converted (the document is saved by Writer and read back by a
# headless conversion). See bench/office/PiecesProbe.c.
#
# Usage: bench/office-pieces.sh [SCRIVANO-PROGRAM] [PARAGRAPHS] [RUNS]
#   SCRIVANO-PROGRAM  default: build/Release/scrivano below the repository
#   PARAGRAPHS        default 20
#   RUNS              default 3
# Needs Xvfb, openbox, xdotool, python3, LibreOffice Writer (soffice) and a C compiler with the X11
# headers. Touches nothing but its own display, its own processes, LibreOffice profiles of its own and a
# temporary folder.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
program=${1:-$repo/build/Release/scrivano}
paragraphs=${2:-20}
runs=${3:-3}
[ -x "$program" ] || { echo "office-pieces: no program at $program (build the target scrivano)" >&2; exit 2; }
for tool in Xvfb openbox xdotool python3 cc soffice; do
  command -v "$tool" >/dev/null || { echo "office-pieces: $tool is missing" >&2; exit 2; }
done

work=$(mktemp -d /tmp/scrivano-office-bench.XXXXXX)
pids=()
groups=()
cleanup() {
  for group in "${groups[@]}"; do kill -TERM -- "-$group" 2>/dev/null || true; done
  sleep 1
  for group in "${groups[@]}"; do kill -KILL -- "-$group" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}" "${groups[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

cc -O2 -o "$work/probe" "$here/office/PiecesProbe.c" -lX11 -lXtst

# A headless LibreOffice with a profile of its own converts $2 into the folder $3 as $1.
convert() {
  setsid soffice "-env:UserInstallation=file://$work/convert-profile" --norestore --headless \
    --convert-to "$1" --outdir "$3" "$2" >>"$work/convert.log" 2>&1
}

python3 - "$work" "$paragraphs" <<'PY'
import sys
work, count = sys.argv[1], int(sys.argv[2])
lines = ['{0>Sentence number %d of the benchmark.<}0{>基准的第%d句。<0}' % (i, i) for i in range(1, count + 1)]
open(work + '/doc.txt', 'w', encoding='utf-8').write('\n'.join(lines) + '\n')
expected = ['Sentence number %d of the benchmark.\t基准的第%d句。' % (i, i) for i in range(1, count + 1)]
open(work + '/expected.txt', 'w', encoding='utf-8').write('\n'.join(expected))
PY
convert odt "$work/doc.txt" "$work"
[ -f "$work/doc.odt" ] || { echo "office-pieces: soffice made no document" >&2; cat "$work/convert.log" >&2; exit 1; }

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 20 number <&"$fd" || { echo "office-pieces: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1

echo "program: $program; $paragraphs paragraphs"
for run in $(seq 1 "$runs"); do
  root="$work/root$run"
  profile="$work/profile$run"
  document="run$run.odt"
  mkdir -p "$root/Data" "$root/config" "$root/runtime"
  chmod 700 "$root/runtime"
  cp "$work/doc.odt" "$work/$document"
  # The Function List at the right, where the maximised Writer window lies at its corner.
  python3 - "$repo/data/config.ini" "$root/Data/config.ini" <<'PY'
import sys
text = open(sys.argv[1], encoding='utf-8').read().replace('\r\n', '\n').rstrip('\n')
text += '\nFunction List=900,300,1200,800\n'
open(sys.argv[2], 'wb').write(b'\xff\xfe' + text.replace('\n', '\r\n').encode('utf-16-le'))
PY
  "$program" --install-office-macro "$profile/user" >/dev/null

  SCRIVANO_ROOT="$root" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$root/runtime" XDG_CONFIG_HOME="$root/config" \
    "$program" >"$work/program.log" 2>&1 &
  app=$!
  pids+=("$app")
  until xdotool search --name '^Function List$' >/dev/null 2>&1; do sleep 0.2; done
  HOME="$work" SAL_USE_VCLPLUGIN=gen setsid soffice "-env:UserInstallation=file://$profile" --norestore \
    --nologo "$work/$document" >"$work/writer.log" 2>&1 &
  writer=$!
  groups+=("$writer")
  title="$document - LibreOffice Writer"
  for _ in $(seq 1 300); do xdotool search --name "^$title\$" >/dev/null 2>&1 && break; sleep 0.3; done
  sleep 2

  result=$("$work/probe" 300 16 2 "$title" || true)
  line="run $run: $result"
  if [[ $result == error=* ]] && command -v import >/dev/null; then
    shot="${TMPDIR:-/tmp}/office-pieces-run$run.png"
    import -window root "$shot" && line+=" (screen: $shot)"
  fi
  if [[ $result =~ run=([0-9]+) ]]; then
    line+=" per-piece=$((BASH_REMATCH[1] / paragraphs))"
    # The timing box of a long run, then the document saved by Writer and read back.
    sleep 1
    notice=$(xdotool search --name '^Notice$' 2>/dev/null | head -1 || true)
    [ -n "$notice" ] && xdotool windowactivate --sync "$notice" key Return 2>/dev/null || true
    window=$(xdotool search --name "^$title\$" 2>/dev/null | head -1 || true)
    before=$(stat -c %y "$work/$document")
    xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
    sleep 0.5
    xdotool key ctrl+s
    for _ in $(seq 1 50); do [ "$(stat -c %y "$work/$document")" != "$before" ] && break; sleep 0.2; done
    sleep 0.5
    mkdir -p "$work/readback"
    convert 'txt:Text (encoded):UTF8,LF,,' "$work/$document" "$work/readback"
    right=$(python3 - "$work/readback/run$run.txt" "$work/expected.txt" <<'PY'
import sys
got = open(sys.argv[1], encoding='utf-8-sig').read().rstrip('\n').split('\n')
want = open(sys.argv[2], encoding='utf-8').read().split('\n')
print(sum(1 for g, w in zip(got, want) if g == w), end='')
wrong = [(i, g, w) for i, (g, w) in enumerate(zip(got, want)) if g != w]
if wrong or len(got) != len(want):
    print(' (paragraph %d reads %r)' % (wrong[0][0] + 1, wrong[0][1]) if wrong else ' (%d lines)' % len(got), end='')
PY
    )
    line+=" converted=$right/$paragraphs"
  fi
  echo "$line"
  kill -TERM -- "-$writer" 2>/dev/null || true
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  sleep 1
  kill -KILL -- "-$writer" 2>/dev/null || true
  wait "$writer" 2>/dev/null || true
done
