#!/usr/bin/python3
"""Writes the single linkage of N random points on a line as a scipy linkage
matrix (.npy), without any distance matrix: on a line, single linkage joins
neighbours in the order of the gaps between them.

Usage: /usr/bin/python3 bench/make_large_linkage.py OUT.npy N SEED
"""
import sys

import numpy as np


def single_linkage_on_a_line(points):
    n = len(points)
    order = np.argsort(points, kind="stable")
    gaps = np.diff(points[order])
    # Cluster ids of scipy's convention: objects 0..n-1, merge i makes n + i.
    left_end = np.arange(n)  # the cluster holding each sorted position's run, by its leftmost position
    cluster_of_run = order.copy().astype(np.int64)
    size_of_run = np.ones(n, dtype=np.int64)
    run_start = np.arange(n)
    run_end = np.arange(n)
    z = np.empty((n - 1, 4))
    for step, g in enumerate(np.argsort(gaps, kind="stable")):
        a_start = run_start[g]
        b_start = g + 1
        b_end = run_end[b_start]
        first, second = cluster_of_run[a_start], cluster_of_run[b_start]
        size = size_of_run[a_start] + size_of_run[b_start]
        z[step] = (min(first, second), max(first, second), gaps[g], size)
        cluster_of_run[a_start] = n + step
        size_of_run[a_start] = size
        run_end[a_start] = b_end
        run_start[b_end] = a_start
    del left_end
    return z


if __name__ == "__main__":
    out, n, seed = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    np.save(out, single_linkage_on_a_line(np.random.default_rng(seed).random(n)))
