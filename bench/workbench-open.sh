#!/usr/bin/env bash
# Whole-program benchmark: the workbench started on a large Input file (50 MB of mixed English and
# Chinese text by default), on a private Xvfb display with openbox. Reports, in milliseconds from the
# start: when the main window appeared, when it first answered a click on its menu bar, when the Input
# window showed the text, and the longest time a click on the menu bar went unanswered (the program not
# responding). Then Function List entry 10 (Make uppercase) runs on the text: the time from the
# double-click until the Output window shows the result, and the longest stall meanwhile (the whole text
# handed back into the Output window and saved to the Output file). See bench/workbench/WorkbenchProbe.c.
#
# Usage: bench/workbench-open.sh [SCRIVANO-PROGRAM] [MEGABYTES] [RUNS]
#   SCRIVANO-PROGRAM  default: build/Release/scrivano below the repository
#   MEGABYTES         size of the Input file (UTF-16LE, as the program keeps it), default 50
#   RUNS              default 3
# Needs Xvfb, openbox, python3 and a C compiler with the X11 headers. Touches nothing but its own display,
# its own processes and a temporary folder.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
program=${1:-$repo/build/Release/scrivano}
megabytes=${2:-50}
runs=${3:-3}
[ -x "$program" ] || { echo "workbench-open: no program at $program (build the target scrivano)" >&2; exit 2; }
for tool in Xvfb openbox python3 cc; do
  command -v "$tool" >/dev/null || { echo "workbench-open: $tool is missing" >&2; exit 2; }
done

work=$(mktemp -d /tmp/scrivano-bench.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

cc -O2 -o "$work/probe" "$here/workbench/WorkbenchProbe.c" -lX11 -lXtst

# The Input text: pairs of English and Chinese segments from the shared corpus when present, else a
# built-in pair, repeated to the size asked for.
python3 - "$work/input" "$megabytes" <<'PY'
import os, re, sys
path, size = sys.argv[1], int(float(sys.argv[2]) * 1000 * 1000)
corpus = '/work/shared/corpus/tico19-en-zh.tmx'
lines = []
if os.path.exists(corpus):
    segments = re.findall(r'<seg>(.*?)</seg>', open(corpus, encoding='utf-8').read(), re.S)
    lines = [segments[i].strip() + ' ' + segments[i + 1].strip() for i in range(0, len(segments) - 1, 2)]
if not lines:
    lines = ['The patient should stay at home for fourteen days. 患者应居家隔离十四天。']
block = ('\r\n'.join(lines) + '\r\n').encode('utf-16-le')
data = (block * (size // len(block) + 1))[:size - size % 2]
open(path, 'wb').write(data)
PY

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 20 number <&"$fd" || { echo "workbench-open: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1

echo "Input: $(stat -c %s "$work/input") bytes; program: $program"
for run in $(seq 1 "$runs"); do
  root="$work/root$run"
  mkdir -p "$root/Data" "$root/config" "$root/runtime"
  chmod 700 "$root/runtime"
  cp "$work/input" "$root/Data/Input"
  "$work/probe" 180 4 handback >"$work/probe.out" &
  probe=$!
  SCRIVANO_ROOT="$root" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$root/runtime" XDG_CONFIG_HOME="$root/config" \
    "$program" >"$work/program.log" 2>&1 &
  app=$!
  pids+=("$app")
  wait "$probe" || true
  echo "run $run: $(cat "$work/probe.out")"
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  rm -rf "$root"
done
