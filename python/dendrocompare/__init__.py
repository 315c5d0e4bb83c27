"""Compare two dendrograms level by level with the exact engine.

Every distinct merge height of a dendrogram makes a level; every level of
the first dendrogram below its top is compared with every such level of
the second by five dissimilarities: 1 - Jaccard, 1 - Rand, Euclidean,
1 - Sorensen and 1 - adjusted Rand, the values the command line writes to
MATRICES.DAT, bit for bit.

    >>> from scipy.cluster.hierarchy import linkage
    >>> import dendrocompare
    >>> result = dendrocompare.compare(linkage(X, "average"), linkage(X, "complete"))
    >>> result.jaccard            # float32, shape (L1 - 1, L2 - 1)
    >>> result.minima["rand"]     # (value, clusters 1, clusters 2)

A dendrogram can be a scipy linkage matrix, a path to a file in any form
the command line reads, or a Dendrogram. Bad input raises InputError (a
ValueError), a file that cannot be written OutputError (an OSError), both
with the command line's words; Ctrl+C stops a comparison with
KeyboardInterrupt.
"""
import os

import numpy as np

from ._core import (
    MEASURES,
    Comparison,
    Dendrogram,
    InputError,
    OutputError,
    _compare,
    _read_den,
)

__all__ = [
    "MEASURES",
    "Comparison",
    "Dendrogram",
    "InputError",
    "OutputError",
    "compare",
    "from_hclust",
    "from_linkage",
    "read_dendrogram",
]


def from_linkage(Z):
    """A Dendrogram from a scipy linkage matrix Z of shape (N - 1, 4).

    Row t joins the clusters idx1 and idx2 (ids of N and more are the
    clusters made by earlier rows) at height dist; leaf i is object i + 1,
    a merged cluster is named by its smallest object, and the companion
    values are the two clusters' sizes. Heights become 4-byte floats, so
    heights that differ only beyond single precision form one level.
    """
    Z = np.asarray(Z, dtype=np.float64)
    if Z.ndim != 2 or Z.shape[1] != 4:
        raise InputError(f"linkage matrix: expected shape (N - 1, 4), got {Z.shape}")
    n = Z.shape[0] + 1
    names = list(range(1, n + 1)) + [0] * (n - 1)
    sizes = [1] * n + [0] * (n - 1)
    merges = np.zeros((n - 1, 4), dtype=np.int32)
    for t, (a, b, _, _) in enumerate(Z):
        a, b = int(a), int(b)
        merges[t] = names[a], names[b], sizes[a], sizes[b]
        names[n + t] = min(names[a], names[b])
        sizes[n + t] = sizes[a] + sizes[b]
    return Dendrogram(n, merges, Z[:, 2])


def from_hclust(merge, height):
    """A Dendrogram from R's hclust merge matrix (N - 1, 2) and heights."""
    raise NotImplementedError


def read_dendrogram(path, format=None):
    """Reads one dendrogram file."""
    return _read_den(os.fspath(path))


def _as_dendrogram(value):
    if isinstance(value, Dendrogram):
        return value
    if isinstance(value, (str, bytes, os.PathLike)):
        return read_dendrogram(value)
    return from_linkage(value)


def compare(first, second, *, threads=None, progress=None):
    """Compares two dendrograms of the same N objects; returns a Comparison.

    first, second: scipy linkage matrices, paths to dendrogram files, or
    Dendrogram objects, in any mix. threads: how many threads compute
    (None: as many as the hardware offers); the values do not depend on it.
    progress: called as progress(done, total) with the number of levels of
    the second dendrogram done so far, about every 50 ms and once at the
    end; an exception it raises stops the comparison and propagates.

    The computation runs without the GIL, so other Python threads go on.
    """
    if threads is not None and (not isinstance(threads, int) or threads < 1):
        raise ValueError("threads must be a positive integer, or None for as many as the hardware offers")
    return _compare(_as_dendrogram(first), _as_dendrogram(second), threads or 0, progress)
