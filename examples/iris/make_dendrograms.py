#!/usr/bin/env python3
"""Builds the two Iris dendrogram files from iris.csv.

average.den: average linkage (UPGMA) on Euclidean distances of the four
measurements; complete.den: complete linkage on the same distances.
Plain agglomerative clustering, O(N^3), standard library only, so that the
files can be rebuilt bit for bit anywhere: at each step the closest pair of
current clusters is merged, ties going to the pair with the smallest names
(a cluster is named by its smallest object number). Each record is
"first second size_first size_second height" (the sizes ride along as the
companion values), in the order the merges happen.
"""
import csv
import math
import sys
from pathlib import Path


def read_measurements(path):
    with open(path, newline="") as f:
        rows = list(csv.reader(f))
    return [[float(v) for v in row[:4]] for row in rows[1:]]


def agglomerate(points, linkage):
    n = len(points)
    dist = {(i, j): math.dist(points[i - 1], points[j - 1])
            for i in range(1, n + 1) for j in range(i + 1, n + 1)}
    size = {i: 1 for i in range(1, n + 1)}
    merges = []
    while len(size) > 1:
        (p, q), h = min(dist.items(), key=lambda item: (item[1], item[0]))
        merges.append((p, q, size[p], size[q], h))
        for r in size:
            if r in (p, q):
                continue
            dp, dq = dist[tuple(sorted((p, r)))], dist[tuple(sorted((q, r)))]
            if linkage == "average":
                d = (size[p] * dp + size[q] * dq) / (size[p] + size[q])
            else:
                d = max(dp, dq)
            dist[tuple(sorted((p, r)))] = d
        for r in size:
            dist.pop(tuple(sorted((q, r))), None)
        size[p] += size.pop(q)
    return merges


def write_dendrogram(path, n, merges):
    with open(path, "w", newline="") as f:
        f.write(f"{n}\n")
        for p, q, sp, sq, h in merges:
            f.write(f"{p} {q} {sp} {sq} {h:.9g}\n")


def main():
    here = Path(__file__).resolve().parent
    points = read_measurements(here / "iris.csv")
    for linkage in ("average", "complete"):
        write_dendrogram(here / f"{linkage}.den", len(points), agglomerate(points, linkage))


if __name__ == "__main__":
    sys.exit(main())
