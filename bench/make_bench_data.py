#!/usr/bin/python3
"""Writes pairs of scipy linkage matrices (.npy) for timing the comparison.

Usage: /usr/bin/python3 bench/make_bench_data.py OUTDIR [N ...]
(default N: 500 1000 2000 5000). For each N it writes OUTDIR/N/<case>_a.npy
and <case>_b.npy, two dendrograms of the same N objects:

  random   two random trees: random clusters merge, every height distinct
  tied     two random trees whose heights take only N/8 distinct values
  single_ward      single linkage against Ward linkage of the same Gaussian blobs
  average_complete average against complete linkage of the same blobs
  digits   Ward against average linkage of handwritten digits (sklearn's
           digits, 1797 samples: the first N, or all of them when N is larger)

Fixed seeds: the same command gives the same files.
"""
import os
import sys

import numpy as np
from scipy.cluster.hierarchy import linkage


def random_tree(n, rng, distinct_heights=0):
    """A linkage matrix joining two random current clusters per merge."""
    alive = list(range(n))
    counts = {i: 1 for i in range(n)}
    heights = np.sort(rng.uniform(0.0, 100.0, n - 1))
    if distinct_heights:
        heights = np.sort(rng.integers(0, distinct_heights, n - 1)).astype(float)
    z = np.zeros((n - 1, 4))
    for step in range(n - 1):
        i, j = rng.choice(len(alive), 2, replace=False)
        a, b = alive[i], alive[j]
        new = n + step
        counts[new] = counts[a] + counts[b]
        z[step] = (min(a, b), max(a, b), heights[step], counts[new])
        for k in sorted((i, j), reverse=True):
            alive.pop(k)
        alive.append(new)
    return z


def blobs(n, rng, centres=12, dims=5):
    means = rng.normal(0.0, 10.0, (centres, dims))
    labels = rng.integers(0, centres, n)
    return means[labels] + rng.normal(0.0, 1.0, (n, dims))


def digits(n):
    from sklearn.datasets import load_digits
    data = load_digits().data.astype(float)
    return data[: min(n, len(data))]


def cases(n, rng):
    points = blobs(n, rng)
    real = digits(n)
    return {
        "random": (random_tree(n, rng), random_tree(n, rng)),
        "tied": (random_tree(n, rng, n // 8), random_tree(n, rng, n // 8)),
        "single_ward": (linkage(points, "single"), linkage(points, "ward")),
        "average_complete": (linkage(points, "average"), linkage(points, "complete")),
        "digits": (linkage(real, "ward"), linkage(real, "average")),
    }


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    sizes = [int(a) for a in sys.argv[2:]] or [500, 1000, 2000, 5000]
    for n in sizes:
        rng = np.random.default_rng(n)
        folder = os.path.join(out, str(n))
        os.makedirs(folder, exist_ok=True)
        for name, (a, b) in cases(n, rng).items():
            np.save(os.path.join(folder, name + "_a.npy"), a)
            np.save(os.path.join(folder, name + "_b.npy"), b)
        print(folder)


if __name__ == "__main__":
    main()
