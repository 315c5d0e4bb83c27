#!/usr/bin/python3
"""Our exact comparison against the NumPy script a user would write instead.

Usage: /usr/bin/python3 bench/exact_vs_numpy.py BUILD_DIR [N ...] [--rounds R]
(default N: 2000 5000, R = 3).

For each N and two shapes (single against Ward linkage, and average against
complete linkage, of the same Gaussian blobs: every merge at a height of its
own), the two linkage matrices are saved once; then, in alternating rounds,
each method runs in a process of its own, which imports its modules and
loads the two linkages before its clock starts:

  numpy  the obvious script: every object pair's level in each tree (scipy's
         cophenet on the linkage with its heights replaced by level numbers),
         a two-dimensional histogram of the pairs over (level 1, level 2),
         cumulative sums along both axes, and the six tables in float64.
  ours   dendrocompare.compare(Z1, Z2) and all six float64 tables read
         (jaccard, rand, euclidean, sorensen, adjusted_rand, fowlkes_mallows).

Each process reports its time and its peak resident memory; the table shows
the fastest round of each, the ratio numpy / ours, and whether the values
agree to 1e-12 (with each other, and with sklearn's adjusted_rand_score on
a few cuts made by scipy's fcluster).
"""
import json
import os
import subprocess
import sys
import tempfile

import numpy as np

MEASURES = ("jaccard", "rand", "euclidean", "sorensen", "adjusted_rand", "fowlkes_mallows")

CHILD = r'''
import json, resource, sys, time
import numpy as np
from scipy.cluster.hierarchy import cophenet
method, first, second, out = sys.argv[1:5]
sys.path.insert(0, sys.argv[5])
import dendrocompare
MEASURES = ("jaccard", "rand", "euclidean", "sorensen", "adjusted_rand", "fowlkes_mallows")


def numpy_tables(Z1, Z2):
    n = Z1.shape[0] + 1
    def levelled(Z):
        # Levels are the distinct heights as 4-byte reals.
        distinct, level = np.unique(Z[:, 2].astype(np.float32), return_inverse=True)
        Zl = Z.copy()
        Zl[:, 2] = level + 1
        return Zl, len(distinct)
    (Z1l, L1), (Z2l, L2) = levelled(Z1), levelled(Z2)
    c1 = cophenet(Z1l).astype(np.int64) - 1
    c2 = cophenet(Z2l).astype(np.int64) - 1
    H = np.bincount(c1 * L2 + c2, minlength=L1 * L2).reshape(L1, L2)
    a = H.cumsum(0).cumsum(1)[:L1 - 1, :L2 - 1].astype(np.float64)
    ab = np.bincount(c1, minlength=L1).cumsum()[:L1 - 1, None].astype(np.float64)
    ac = np.bincount(c2, minlength=L2).cumsum()[None, :L2 - 1].astype(np.float64)
    total = n * (n - 1) / 2
    d = ab + ac - 2 * a
    b, c, apart = ab - a, ac - a, total - ab - ac + a
    return {"jaccard": d / (ab + ac - a), "rand": d / total, "euclidean": np.sqrt(d), "sorensen": d / (ab + ac),
            "adjusted_rand": 1 - 2 * (a * apart - b * c) / ((a + b) * (b + apart) + (a + c) * (c + apart)),
            "fowlkes_mallows": a / np.sqrt(ab * ac)}


def ours(Z1, Z2):
    result = dendrocompare.compare(Z1, Z2)
    return {m: getattr(result, m) for m in MEASURES}


Z1, Z2 = np.load(first), np.load(second)
start = time.perf_counter()
tables = numpy_tables(Z1, Z2) if method == "numpy" else ours(Z1, Z2)
seconds = time.perf_counter() - start
peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss * 1024
np.savez(out, **tables) if out != "-" else None
print(json.dumps({"seconds": seconds, "peak": peak}))
'''


def blobs(n, rng):
    centres = rng.normal(scale=8.0, size=(8, 5))
    return centres[rng.integers(0, 8, n)] + rng.normal(size=(n, 5))


def run(method, paths, build, out="-"):
    command = [sys.executable, "-c", CHILD, method, *paths, out, os.path.join(build, "python")]
    return json.loads(subprocess.run(command, check=True, capture_output=True, text=True).stdout)


def sklearn_check(Z1, Z2, ours_ari):
    """Cuts at a few levels by scipy's fcluster at the level's own height
    (levels are the distinct heights as 4-byte reals)."""
    from scipy.cluster.hierarchy import fcluster
    from sklearn.metrics import adjusted_rand_score
    Z1, Z2 = Z1.copy(), Z2.copy()
    for Z in (Z1, Z2):
        Z[:, 2] = Z[:, 2].astype(np.float32)
    heights1, heights2 = np.unique(Z1[:, 2]), np.unique(Z2[:, 2])
    worst = 0.0
    for k in np.linspace(0, ours_ari.shape[0] - 1, 4).astype(int):
        for l in np.linspace(0, ours_ari.shape[1] - 1, 4).astype(int):
            p1 = fcluster(Z1, heights1[k], "distance")
            p2 = fcluster(Z2, heights2[l], "distance")
            worst = max(worst, abs((1 - adjusted_rand_score(p1, p2)) - ours_ari[k, l]))
    return worst


def main():
    args = [a for a in sys.argv[1:]]
    rounds = 3
    if "--rounds" in args:
        i = args.index("--rounds")
        rounds = int(args[i + 1])
        del args[i:i + 2]
    build, sizes = args[0], [int(a) for a in args[1:]] or [2000, 5000]
    from scipy.cluster.hierarchy import linkage
    print(f"{'N':>6} {'shape':<17} {'numpy s':>8} {'ours s':>8} {'ratio':>6} {'numpy MB':>9} {'ours MB':>8}"
          f" {'max |diff|':>10} {'sklearn':>8}")
    with tempfile.TemporaryDirectory() as tmp:
        for n in sizes:
            points = blobs(n, np.random.default_rng(n))
            for shape, (m1, m2) in {"single_ward": ("single", "ward"),
                                    "average_complete": ("average", "complete")}.items():
                Z1, Z2 = linkage(points, m1), linkage(points, m2)
                paths = [os.path.join(tmp, f"{shape}_{i}.npy") for i in (1, 2)]
                np.save(paths[0], Z1)
                np.save(paths[1], Z2)
                best = {"numpy": None, "ours": None}
                for _ in range(rounds):
                    for method in best:
                        r = run(method, paths, build)
                        if best[method] is None or r["seconds"] < best[method]["seconds"]:
                            best[method] = r
                # One more run of each that keeps its tables, for the values.
                files = {m: os.path.join(tmp, f"{m}.npz") for m in best}
                for m in best:
                    run(m, paths, build, files[m])
                tables = {m: np.load(files[m]) for m in best}
                diff = max(float(np.nanmax(np.abs(tables["numpy"][t] - tables["ours"][t]))) for t in MEASURES)
                sk = sklearn_check(Z1, Z2, tables["ours"]["adjusted_rand"])
                ratio = best["numpy"]["seconds"] / best["ours"]["seconds"]
                print(f"{n:>6} {shape:<17} {best['numpy']['seconds']:>8.3f} {best['ours']['seconds']:>8.3f}"
                      f" {ratio:>6.1f} {best['numpy']['peak'] / 1e6:>9.0f} {best['ours']['peak'] / 1e6:>8.0f}"
                      f" {diff:>10.1e} {sk:>8.1e}", flush=True)


if __name__ == "__main__":
    main()
