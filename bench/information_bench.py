#!/usr/bin/python3
"""Variation of information and NMI at every level pair, against the exact
engine's pair-count measures alone and against scikit-learn.

Usage: /usr/bin/python3 bench/information_bench.py BUILD_DIR [N ...] [--rounds R]
(default N: 2000 5000, R = 3).

Single against Ward linkage of Gaussian blobs (every merge at a height of its
own). In one run, alternating, each timed in the same process after the
linkages are made:
  pairs        compare(Z1, Z2) without information and its six pair-count tables
  all          compare(Z1, Z2) with information, the six tables, VI and NMI
  sklearn      normalized_mutual_info_score on a sample of level pairs, cut by
               scipy's fcluster beforehand; extrapolated to every level pair
"""
import os
import sys
import time

import numpy as np
from scipy.cluster.hierarchy import fcluster, linkage

PAIR_MEASURES = ("jaccard", "rand", "euclidean", "sorensen", "adjusted_rand", "fowlkes_mallows")


def main():
    args = sys.argv[1:]
    rounds = 3
    if "--rounds" in args:
        i = args.index("--rounds")
        rounds = int(args[i + 1])
        del args[i:i + 2]
    sys.path.insert(0, os.path.join(args[0], "python"))
    import dendrocompare
    from sklearn.metrics import normalized_mutual_info_score

    print(f"{'N':>6} {'pairs s':>8} {'all s':>8} {'all/pairs':>9} {'sklearn s/pair':>15} {'sklearn all s':>14}"
          f" {'sklearn/all':>12}")
    for n in [int(a) for a in args[1:]] or [2000, 5000]:
        rng = np.random.default_rng(n)
        centres = rng.normal(scale=8.0, size=(8, 5))
        points = centres[rng.integers(0, 8, n)] + rng.normal(size=(n, 5))
        Z1, Z2 = linkage(points, "single"), linkage(points, "ward")
        best = {"pairs": np.inf, "all": np.inf}
        for _ in range(rounds):
            start = time.perf_counter()
            # The exact engine without the contingency sums: the pair-count measures alone.
            result = dendrocompare._compare(dendrocompare.from_linkage(Z1), dendrocompare.from_linkage(Z2), 0, None,
                                            True, 0, False)
            for m in PAIR_MEASURES:
                getattr(result, m)
            best["pairs"] = min(best["pairs"], time.perf_counter() - start)
            del result
            start = time.perf_counter()
            result = dendrocompare.compare(Z1, Z2)
            for m in PAIR_MEASURES + ("variation_of_information", "nmi"):
                getattr(result, m)
            best["all"] = min(best["all"], time.perf_counter() - start)
            del result
        sample = 50
        heights1, heights2 = np.unique(Z1[:, 2])[:-1], np.unique(Z2[:, 2])[:-1]
        ks, ls = rng.integers(0, len(heights1), sample), rng.integers(0, len(heights2), sample)
        cuts = [(fcluster(Z1, heights1[k], "distance"), fcluster(Z2, heights2[l], "distance")) for k, l in zip(ks, ls)]
        start = time.perf_counter()
        for p1, p2 in cuts:
            normalized_mutual_info_score(p1, p2)
        per_pair = (time.perf_counter() - start) / sample
        everything = per_pair * len(heights1) * len(heights2)
        print(f"{n:>6} {best['pairs']:>8.3f} {best['all']:>8.3f} {best['all'] / best['pairs']:>9.2f}"
              f" {per_pair:>15.2e} {everything:>14.0f} {everything / best['all']:>12.0f}", flush=True)


if __name__ == "__main__":
    main()
