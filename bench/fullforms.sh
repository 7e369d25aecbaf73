#!/bin/bash
# SPDX-License-Identifier: MIT
# Times `beugwerk fullforms` over a list as a whole process: one warm-up run, then RUNS runs;
# prints each run and the median wall time and peak memory (maximum resident set size, from
# /usr/bin/time).
#
# Usage: bench/fullforms.sh [--beugwerk PATH] [--runs N] [--repeat K] [LIST] [-- OPTIONS...]
#   LIST     an infinitive list, or a reference table (.tsv) whose verbs are taken as
#            tools/compare-reference takes them (first column; a separable verb with a doubly
#            usable prefix gets its stress mark). Default: ../shared/reference/verbs-dev.tsv.
#   --repeat K   the list K times over (60,000 lines for --jobs comparisons: --repeat 10)
#   OPTIONS  passed to fullforms (--jobs 2, --ortho alt, --utf8, --verb-lists goes first)
# Example: bench/fullforms.sh --runs 9 -- --jobs 2
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
beugwerk=$root/build/beugwerk
runs=7
repeat=1
list=$root/../shared/reference/verbs-dev.tsv
while [ $# -gt 0 ]; do
  case $1 in
    --beugwerk) beugwerk=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --repeat) repeat=$2; shift 2 ;;
    --) shift; break ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) list=$1; shift ;;
  esac
done
[ -x "$beugwerk" ] || { echo "no program at $beugwerk (make build first)" >&2; exit 1; }
[ -f "$list" ] || { echo "no list $list" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (Debian package time)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
case $list in
  *.tsv)
    awk -F'\t' 'NR > 1 {
      inf = $1
      if ($2 == "1" && inf ~ /^(durch|hinter|über|unter|um|voll|wider|wiederhol)/) inf = "\x27" inf
      print inf
    }' "$list" > "$work/one.txt" ;;
  *) cp "$list" "$work/one.txt" ;;
esac
for _ in $(seq "$repeat"); do cat "$work/one.txt"; done > "$work/list.txt"
lines=$(grep -c . "$work/list.txt" || true)

# One run: wall seconds and peak KiB on one line.
run() {
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f '%M' -o "$work/mem" "$beugwerk" fullforms "$@" "$work/list.txt" > /dev/null
  end=$(date +%s%N)
  echo "$(( (end - start) / 1000 )) $(tail -1 "$work/mem")"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "beugwerk fullforms $* over $lines lines ($(basename "$list") x $repeat), $runs runs after a warm-up"
run "$@" > /dev/null
: > "$work/runs"
for i in $(seq "$runs"); do
  r=$(run "$@")
  echo "$r" >> "$work/runs"
  printf '  run %d: %.4f s, %d KiB\n' "$i" "$(echo "$r" | awk '{ print $1 / 1e6 }')" "$(echo "$r" | cut -d' ' -f2)"
done
us=$(cut -d' ' -f1 "$work/runs" | median)
kib=$(cut -d' ' -f2 "$work/runs" | median)
awk -v us="$us" -v kib="$kib" -v n="$lines" 'BEGIN {
  printf "median: %.4f s wall (%.2f us a line), peak memory %.1f MiB\n", us / 1e6, us / n, kib / 1024
}'
