#!/usr/bin/python3
"""The Python module's overhead over the engine alone.

    cmake --build <build dir> --target dendrocompare_python python_overhead_engine
    /usr/bin/python3 bench/python_overhead.py [build dir, default build] [N, default 1000] [rounds, default 7]

Makes two dendrograms of N objects from random points (ward and average
linkage, scipy) and times, round by round in turn so that both see the same
machine load:

- module: dendrocompare.compare(Z1, Z2) on the two linkage matrices, as a
  user calls it: converting the matrices, the comparison with the GIL
  released and the progress bridge watching for Ctrl+C, the result object
  with its table views;
- engine: compare::run_comparison on the same dendrograms (written in our
  own format and read back, which gives the same records) in a C++ process
  of its own (bench/python_overhead_engine.cpp), timed inside it, with the
  engine's default options;
- engine as module: the same, with the options the module passes (pair
  counts kept for the exact values, and a progress view, which makes the
  calling thread watch the workers instead of working beside them).

Both the wall time and the CPU time of the process (all its threads) are
taken. On a shared machine the wall time follows the load of the moment;
the CPU time, which counts only the work done, is the steadier measure of
overhead there.

Prints every round, the medians, and the ratios module / engine.
"""
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import numpy as np
from scipy.cluster.hierarchy import linkage


def main():
    build = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parents[1] / "build").resolve()
    n = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 7
    sys.path.insert(0, str(build / "python"))
    import dendrocompare

    points = np.random.default_rng(2024).normal(size=(n, 4))
    Z1, Z2 = linkage(points, "ward"), linkage(points, "average")
    engine = build / "bench" / "python_overhead_engine"
    with tempfile.TemporaryDirectory() as directory:
        first, second = Path(directory) / "first.den", Path(directory) / "second.den"
        dendrocompare.from_linkage(Z1).to_den(str(first))
        dendrocompare.from_linkage(Z2).to_den(str(second))
        assert dendrocompare.read_dendrogram(first) == dendrocompare.from_linkage(Z1)

        kinds = ("module", "engine", "engine as module")
        wall, cpu = {kind: [] for kind in kinds}, {kind: [] for kind in kinds}
        print(f"N = {n}, {rounds} rounds; seconds per comparison, wall / cpu")
        print(f"{'round':>6}" + "".join(f"{kind:>22}" for kind in kinds))
        for r in range(1, rounds + 1):
            wall_start, cpu_start = time.perf_counter(), time.process_time()
            result = dendrocompare.compare(Z1, Z2)
            cpu["module"].append(time.process_time() - cpu_start)
            wall["module"].append(time.perf_counter() - wall_start)
            for kind, extra in (("engine", []), ("engine as module", ["1", "--as-module"])):
                line = subprocess.run([str(engine), str(first), str(second), *extra], check=True,
                                      capture_output=True, text=True).stdout.split()
                wall[kind].append(float(line[0]))
                cpu[kind].append(float(line[1]))
                assert (int(line[2]), int(line[3])) == (result.levels1, result.levels2)
            print(f"{r:>6}" + "".join(f"{wall[k][-1]:>13.4f} /{cpu[k][-1]:>7.4f}" for k in kinds))

    median_wall = {kind: statistics.median(times) for kind, times in wall.items()}
    median_cpu = {kind: statistics.median(times) for kind, times in cpu.items()}
    print(f"{'median':>6}" + "".join(f"{median_wall[k]:>13.4f} /{median_cpu[k]:>7.4f}" for k in kinds))
    print(f"levels {result.levels1} x {result.levels2}")
    for numerator, denominator in (("module", "engine"), ("module", "engine as module"),
                                   ("engine as module", "engine")):
        for what, medians in (("wall", median_wall), ("cpu", median_cpu)):
            ratio = medians[numerator] / medians[denominator]
            print(f"{what:>4} ratio {numerator} / {denominator} = {ratio:.4f} (overhead {100 * (ratio - 1):+.2f}%)")

if __name__ == "__main__":
    main()
