#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (into build-fuzz/, or
# $FUZZ_BUILD_DIR) and fuzzes each for the given number of seconds, one at a
# time on one core, starting from its seed corpus and dictionary.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     (default 60 s; targets:
#                                             list_read format dendrogram
#                                             inputs)
#
# New inputs go to build-fuzz/fuzz-corpus/TARGET (the seeds in tests/fuzz/corpus
# stay as they are); crashes, leaks and timeouts to
# build-fuzz/fuzz-findings/TARGET/. Each run ends with a line giving its
# executions, coverage and findings; the exit status is 1 if any run found
# something. A finding is replayed with: build-fuzz/tests/fuzz/fuzz_TARGET FILE
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-60}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(list_read format dendrogram inputs)

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DDENDROCOMPARE_FUZZ=ON >/dev/null
cmake --build "$build" -j 2 --target "${targets[@]/#/fuzz_}"

status=0
for t in "${targets[@]}"; do
  work="$build/fuzz-corpus/$t"
  found="$build/fuzz-findings/$t"
  log="$build/fuzz-$t.log"
  mkdir -p "$work" "$found"
  set +e
  "$build/tests/fuzz/fuzz_$t" "$work" "$root/tests/fuzz/corpus/$t" \
    -dict="$root/tests/fuzz/dict/$t.dict" -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=2048 -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$found/" >"$log" 2>&1
  rc=$?
  set -e
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || echo "?")
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || echo "?")
  findings=$(find "$found" -type f | wc -l)
  echo "fuzz_$t: ${seconds}s, $execs executions, coverage $cov edges ($ft features), $findings findings, exit $rc (log $log)"
  if ((rc != 0 || findings != 0)); then status=1; fi
done
exit $status
