#!/usr/bin/env bash
# The exact engine on the command line, end to end:
#   1. --exact --no-matrices --npy DIR at N = 2000 (single against Ward
#      linkage of Gaussian blobs), DIR on a RAM disk so that the disk's flush
#      is not what is timed;
#   2. --exact --no-matrices --json - (minima only) at N = 10 000;
#   3. --no-matrices --max-clusters 1000 --json - on two single linkages of
#      a million random points on a line, reading included.
# Each is run by farm-bench when it is on the PATH (minimum, median and
# maximum of three runs, peak memory among them), else timed once by
# /usr/bin/time.
#
#   bench/exact_cli.sh BUILD_DIR [WORK_DIR, default /tmp/dendro-exact-bench]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: bench/exact_cli.sh BUILD_DIR [WORK_DIR]}" && pwd)
work=${2:-/tmp/dendro-exact-bench}
cli=$build/app/dendrocompare-cli
mkdir -p "$work"
cd "$work"
[[ -f single2000.npy && -f ward10000.npy ]] || /usr/bin/python3 - <<'PY'
import numpy as np
from scipy.cluster.hierarchy import linkage
for n in (2000, 10000):
    rng = np.random.default_rng(n)
    centres = rng.normal(scale=8.0, size=(8, 5))
    points = centres[rng.integers(0, 8, n)] + rng.normal(size=(n, 5))
    np.save(f"single{n}.npy", linkage(points, "single"))
    np.save(f"ward{n}.npy", linkage(points, "ward"))
PY
[[ -f line1.npy ]] || /usr/bin/python3 "$root/bench/make_large_linkage.py" line1.npy 1000000 1
[[ -f line2.npy ]] || /usr/bin/python3 "$root/bench/make_large_linkage.py" line2.npy 1000000 2
shm=$(mktemp -d /dev/shm/dendro-exact-XXXXXX)
trap 'rm -rf "$shm"' EXIT

measure() {
  local name=$1
  shift
  echo "== $name"
  if command -v farm-bench >/dev/null; then
    farm-bench -n 3 --timeout 600 -- "$@"
  else
    /usr/bin/time -f "one run: %e s wall, %M KB peak resident" "$@" >/dev/null
  fi
}

measure "npy export, N = 2000" "$cli" -q --exact --no-matrices --npy "$shm/npy" single2000.npy ward2000.npy
measure "minima only, N = 10000" "$cli" -q --exact --no-matrices --json - single10000.npy ward10000.npy
measure "top 1000 levels, N = 1000000" "$cli" -q --no-matrices --max-clusters 1000 --json - line1.npy line2.npy
