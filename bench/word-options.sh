#!/usr/bin/env bash
# Whole-program benchmark of the per-file Word processing options (Function List entry 17: 1, 3, 4, 5,
# 6, 8, 9, 10) on generated bilingual documents (bench/word/make_bilingual.py) of several sizes. Prints,
# per option and size, the median wall time of RUNS runs of scrivano-cli and the growth from each size
# to the next; the review copies are written into a temporary folder.
#
# Usage: bench/word-options.sh [SCRIVANO-CLI] [RUNS] [PARAGRAPHS...]
#   SCRIVANO-CLI  default: build/Release/scrivano-cli below the repository
#   RUNS          default 3
#   PARAGRAPHS    default 4000 16000 100000
# The targets: each option at most 2 s at 16,000 paragraphs and 10 s at 100,000, and at most 5 times
# slower at 16,000 than at 4,000.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
cli=${1:-$repo/build/Release/scrivano-cli}
runs=${2:-3}
shift $(( $# > 2 ? 2 : $# ))
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(4000 16000 100000)
[ -x "$cli" ] || { echo "word-options: no program at $cli (build the target scrivano-cli)" >&2; exit 2; }

work=$(mktemp -d /tmp/scrivano-word-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/root"

# The answers each option needs after its number.
answers() {
  case $1 in
    3) echo "--answer yes" ;;
    4) echo "--answer 1" ;;
    8) echo "--param 18=BEGIN --param 19=END" ;;
    *) echo "" ;;
  esac
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

declare -A seconds
for size in "${sizes[@]}"; do
  python3 "$here/word/make_bilingual.py" "$size" "$work/bilingual-$size.docx"
done
printf '%-8s' option
for size in "${sizes[@]}"; do printf '%12s' "$size"; done
printf '   growth\n'
for option in 1 3 4 5 6 8 9 10; do
  printf '%-8s' "$option"
  growth=""
  previous=""
  for size in "${sizes[@]}"; do
    document="$work/bilingual-$size.docx"
    times=()
    for _ in $(seq "$runs"); do
      rm -f "$work"/bilingual-"$size".scrivano.docx
      start=$(date +%s.%N)
      # shellcheck disable=SC2046
      echo "$document" | SCRIVANO_ROOT="$work/root" "$cli" run 17 --answer "$option" $(answers "$option") \
        >"$work/out.txt" 2>"$work/err.txt" || { echo; echo "option $option failed:" >&2; cat "$work/err.txt" >&2; exit 1; }
      end=$(date +%s.%N)
      grep -q "Review copies written" "$work/out.txt" || { echo; echo "option $option wrote no copy" >&2; exit 1; }
      times+=("$(echo "$end - $start" | bc)")
    done
    value=$(printf '%s\n' "${times[@]}" | median)
    seconds[$option,$size]=$value
    printf '%12.2f' "$value"
    if [ -n "$previous" ]; then growth+=" $(echo "scale=1; $value / $previous" | bc)x"; fi
    previous=$value
  done
  printf '  %s\n' "$growth"
done
