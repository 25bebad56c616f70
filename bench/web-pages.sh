#!/usr/bin/env bash
# Whole-program benchmark of web-page extraction (Function List entry 6) through the runner: PAGES
# generated pages of six kinds (bench/web/pages.py: news with pictures, fonts, a frame and a late script;
# documentation with code and tables; a draft in <pre>; GBK and Big5 pages; a short item) served from
# 127.0.0.1, read one after the other by one companion. Prints per run the wall time, the seconds per
# page and the largest memory (resident set) the companion's processes held together; then the median.
#
# Usage: bench/web-pages.sh [SCRIVANO-CLI] [PAGES] [RUNS]
#   SCRIVANO-CLI  default: build/Release/scrivano-cli below the repository (vexo1 beside it)
#   PAGES         default 44
#   RUNS          default 3
# The target: at most 1 s per page on average; memory that does not grow with the number of pages.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
cli=${1:-$repo/build/Release/scrivano-cli}
pages=${2:-44}
runs=${3:-3}
[ -x "$cli" ] || { echo "web-pages: no program at $cli (build the targets scrivano-cli and vexo1)" >&2; exit 2; }

work=$(mktemp -d /tmp/scrivano-web-bench.XXXXXX)
server=
cleanup() {
  [ -z "$server" ] || kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
python3 "$here/web/pages.py" make "$work/site" "$pages"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 "$here/web/pages.py" serve "$work/site" "$port" 2>/dev/null &
server=$!
for _ in $(seq 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/site.css')" 2>/dev/null && break
  sleep 0.1
done
sed "s|^|http://127.0.0.1:$port|" "$work/site/addresses.txt" >"$work/addresses.txt"

# The resident memory of a process and all its descendants, in MB.
tree_rss() {
  ps -e -o pid=,ppid=,rss= | awk -v root="$1" '
    { parent[$1] = $2; rss[$1] = $3 }
    END {
      for (p in parent) { q = p; while (q != "" && q != root && q in parent && q != parent[q]) q = parent[q]
                          if (q == root) total += rss[p] }
      printf "%d\n", total / 1024 }'
}

export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-background-networking --disable-component-update --no-first-run --disable-gpu}"
[ "$(id -u)" != 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
times=()
for run in $(seq "$runs"); do
  start=$(date +%s.%N)
  "$cli" run 6 --input "$work/addresses.txt" --output "$work/reply.txt" 2>"$work/err.txt" &
  pid=$!
  peak=0
  while kill -0 "$pid" 2>/dev/null; do
    now=$(tree_rss "$pid")
    [ "$now" -le "$peak" ] || peak=$now
    sleep 0.5
  done
  status=0
  wait "$pid" || status=$?
  end=$(date +%s.%N)
  seconds=$(echo "$end - $start" | bc -l)
  failed=$(grep -c "could not load the page" "$work/err.txt" || true)
  printf 'run %d: %d pages in %.1f s, %.2f s per page, %d failed, exit %d, peak memory %d MB\n' \
    "$run" "$pages" "$seconds" "$(echo "$seconds / $pages" | bc -l)" "$failed" "$status" "$peak"
  times+=("$seconds")
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
printf 'median: %.2f s per page (target: at most 1 s)\n' "$(echo "$median / $pages" | bc -l)"
