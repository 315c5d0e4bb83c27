#!/usr/bin/env bash
# Instructions of the cross term per level pair, the engine's folder against
# its predecessor, counted by callgrind (repeatable on a busy machine).
#
# Usage: bench/count_cross_term.sh BUILD_DIR FIRST.npy SECOND.npy [column stride, default 1]
set -euo pipefail
build=$1 first=$2 second=$3 stride=${4:-1}
bench=$build/bench/cross_term_bench
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
pairs=$("$bench" "$first" "$second" new "$stride" | sed -n 's/.*, \([0-9]*\) level pairs folded/\1/p')
for which in old new; do
  case $which in
    new) fold='compare::fast::CrossTermFolder::fold*' ;;
    old) fold='compare::testing_support::OracleCrossTermFolder::fold*' ;;
  esac
  valgrind --tool=callgrind --callgrind-out-file="$out/$which" --toggle-collect="$fold" \
    "$bench" "$first" "$second" "$which" "$stride" >/dev/null 2>&1
  total=$(callgrind_annotate "$out/$which" 2>/dev/null | sed -n 's/^ *\([0-9,]*\) .*PROGRAM TOTALS.*/\1/p' | tr -d ,)
  echo "$which folder: $total instructions, $((total / pairs)) per level pair ($pairs pairs)"
done
