"""Compare two dendrograms level by level with the exact engine.

Every distinct merge height of a dendrogram makes a level; every level of
the first dendrogram below its top is compared with every such level of
the second by five dissimilarities: 1 - Jaccard, 1 - Rand, Euclidean,
1 - Sorensen and 1 - adjusted Rand, in double precision from exact pair
counts, or with exact=False the values the command line writes to
MATRICES.DAT, bit for bit.

    >>> from scipy.cluster.hierarchy import linkage
    >>> import dendrocompare
    >>> result = dendrocompare.compare(linkage(X, "average"), linkage(X, "complete"))
    >>> result.jaccard            # float64, shape (L1 - 1, L2 - 1)
    >>> result.minima["rand"]     # (value, clusters 1, clusters 2)

A dendrogram can be a scipy linkage matrix, a path to a file in any form
the command line reads, or a Dendrogram. Bad input raises InputError (a
ValueError), a file that cannot be written OutputError (an OSError), both
with the command line's words; Ctrl+C stops a comparison with
KeyboardInterrupt.
"""
import operator
import os

from ._core import (
    MEASURES,
    Comparison,
    Dendrogram,
    InputError,
    OutputError,
    from_hclust,
    from_linkage,
    _check_dendrogram,
    _compare,
    _read_dendrogram,
    _read_dendrogram_pair,
    _read_labels,
)

# The errors are raised from the extension but belong to the package.
InputError.__module__ = OutputError.__module__ = __name__

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
    "read_dendrogram_pair",
]


def _is_path(value):
    return isinstance(value, (str, bytes, os.PathLike))


def _label_list(labels):
    if labels is None:
        return []
    if _is_path(labels):
        return _read_labels(os.fsdecode(labels))
    return [str(label) for label in labels]


def read_dendrogram(path, format=None, *, labels=None):
    """Reads one dendrogram file in any format the command line reads.

    format: "den" (our own), "npy" (a linkage matrix saved by numpy.save),
    "linkage" (a linkage matrix as numpy.savetxt writes it), "hclust" (R's
    write.csv of merge and height), "newick", or None to tell from the
    extension and the content. labels: Newick leaf labels in object order,
    a sequence or the path of a file with one a line; without them the
    objects follow the tree's leaves. A file that cannot be read or is no
    dendrogram raises InputError (a ValueError) naming the file, the line
    or record, and the fault.
    """
    return _read_dendrogram(os.fsdecode(path), format, _label_list(labels))


def read_dendrogram_pair(first, second, format=None, *, labels=None):
    """Reads the two dendrograms of a comparison, as the command line does.

    Two Newick trees share one order of objects, the first tree's leaves
    unless labels are given; each dendrogram is checked under its file
    name, and two different object counts are refused.
    """
    return _read_dendrogram_pair(os.fsdecode(first), os.fsdecode(second), format, _label_list(labels))


def _as_dendrogram(value):
    if isinstance(value, Dendrogram):
        return value
    if _is_path(value):
        path = os.fsdecode(value)
        dendrogram = read_dendrogram(path)
        _check_dendrogram(dendrogram, path)
        return dendrogram
    return from_linkage(value)


def _whole_number(value, name, otherwise, at_most=None):
    """value as an int (NumPy integers too), or None; else ValueError."""
    if value is None:
        return None
    try:
        number = operator.index(value) if not isinstance(value, bool) else None
    except TypeError:
        number = None
    limit = f" of at most {at_most}" if at_most else ""
    if number is None or number < 1 or (at_most and number > at_most):
        raise ValueError(f"{name} must be a positive integer{limit}, {otherwise}")
    return number


def compare(first, second, *, exact=True, max_clusters=None, threads=None, progress=None):
    """Compares two dendrograms of the same N objects; returns a Comparison.

    first, second: scipy linkage matrices, paths to dendrogram files in any
    format the command line reads, or Dendrogram objects, in any mix; two
    paths are read as the command line reads them (read_dendrogram_pair).
    exact: True gives float64 tables from exact pair counts, for any N;
    False the float32 tables of MATRICES.DAT, bit for bit (up to 46340
    objects), which write_matrices writes. max_clusters: compare only the
    levels with at most this many clusters (exact only), at a cost that
    does not grow with N squared.
    threads: how many threads compute (None: as many as the hardware
    offers); the values do not depend on it. progress: called as
    progress(done, total) with the work done so far (levels of one of the
    dendrograms), about every 50 ms and once at the end; an
    exception it raises stops the comparison and propagates.

    The computation runs without the GIL, so other Python threads go on,
    and Ctrl+C stops it with KeyboardInterrupt.
    """
    threads = _whole_number(threads, "threads", "or None for as many as the hardware offers", at_most=1024)
    max_clusters = _whole_number(max_clusters, "max_clusters", "or None for every level")
    if max_clusters is not None and not exact:
        raise ValueError("max_clusters compares the top levels alone, which only an exact comparison does: "
                         "leave exact=True")
    if _is_path(first) and _is_path(second):
        first, second = read_dendrogram_pair(first, second)
    return _compare(_as_dendrogram(first), _as_dendrogram(second), threads or 0, progress, bool(exact),
                    max_clusters or 0)


def _tanglegram(self, path=None, *, clusters=None, level=None, untangle=True, labels=None):
    """The two trees face to face: their leaf orders, untangled, and how
    tangled they are; with a path, the picture as PNG or SVG.

    Rotating a node (swapping its two branches) changes no partition; with
    untangle the nodes of both trees are rotated, one tree against the
    other, while that lowers the entanglement. The entanglement is
    dendextend's: the sum over objects of |position in order1 - position in
    order2| ** 1.5, divided by its value for two reversed orders (0 for
    equal orders, 1 at worst).

    The lines are coloured by the clusters of dendrogram 1 at one level:
    clusters=K takes its level with the fewest clusters that are at least
    K, level=k its compared level k (base_level1 <= k); by default the level
    pair where 1 - adjusted Rand is smallest among levels of at most
    ceil(sqrt(N)) clusters (and at most 60), since the finest levels of
    any two trees agree. Dendrogram 2's level is the one where
    1 - adjusted Rand is smallest against it. labels: the objects' names
    for the picture (default: their numbers).

    Returns a dict: order1, order2 (the objects, 0-based, top to bottom),
    entanglement, given_entanglement (of the trees as given), clusters1,
    clusters2 (the colour levels' cluster counts), cluster1, cluster2 (each
    object's cluster, numbered from the top of each drawing) and moved
    (True where an object's two clusters do not hold the most of each
    other).
    """
    if clusters is not None and level is not None:
        raise ValueError("give clusters or level, not both")
    if level is not None:
        row = level - self.base_level1
        if isinstance(level, bool) or not isinstance(level, int) or not 0 <= row < len(self.clusters1):
            raise ValueError(f"level must be a compared level of dendrogram 1, {self.base_level1} to "
                             f"{self.base_level1 + len(self.clusters1) - 1}")
        clusters = int(self.clusters1[row])
    if clusters is not None and (isinstance(clusters, bool) or not isinstance(clusters, int) or clusters < 1):
        raise ValueError("clusters must be a positive integer")
    if labels is None:
        labels = getattr(self, "labels", None)
    names = [str(label) for label in labels] if labels is not None else []
    return self._tanglegram(None if path is None else os.fsdecode(path), clusters or 0, bool(untangle), names)


Comparison.tanglegram = _tanglegram
