#!/usr/bin/env bash
# Sets up, builds and compares the two bundled Iris clusterings (average
# and complete linkage), answering the program's two prompts. The results
# file lands in build/example-run/MATRICES.DAT.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
run_dir="$build/example-run"
mkdir -p "$run_dir"
cd "$run_dir"
examples=$(realpath --relative-to="$run_dir" "$root/examples/iris")
printf '%s\n%s\n' "$examples/average.den" "$examples/complete.den" \
  | "$build/app/dendrocompare-cli"
echo "Results: $run_dir/MATRICES.DAT ($(wc -l < MATRICES.DAT) records)"
