"""Shared pieces of the command line's cross-checks: the executable, scipy
linkages of the real data sets Debian's sklearn ships, and writers for the
formats other tools produce."""
import os
import subprocess

import numpy as np
import pytest
from scipy.cluster.hierarchy import linkage, to_tree
from sklearn.datasets import load_breast_cancer, load_iris, load_wine

DATA = {"iris": load_iris, "wine": load_wine, "breast_cancer": load_breast_cancer}


def cli_path():
    build = os.environ.get("DENDRO_BUILD_DIR")
    if not build:
        pytest.skip("DENDRO_BUILD_DIR is not set")
    return os.path.join(build, "app", "dendrocompare-cli")


def run_cli(*arguments, cwd):
    return subprocess.run([cli_path(), *map(str, arguments)], cwd=cwd, capture_output=True, text=True)


def data_linkage(data, method):
    return linkage(DATA[data]().data, method)


def write_hclust_csv(Z, path):
    """As R's write.csv(data.frame(hc$merge, hc$height)) writes it: objects
    as -x, earlier steps as their 1-based number."""
    n = Z.shape[0] + 1

    def entry(idx):
        idx = int(idx)
        return -(idx + 1) if idx < n else idx - n + 1

    with open(path, "w") as out:
        out.write('"","X1","X2","hc.height"\n')
        for t, row in enumerate(Z, start=1):
            out.write(f'"{t}",{entry(row[0])},{entry(row[1])},{row[2]!r}\n')


def write_newick(Z, path):
    """Leaves named o0..o{N-1}, branch lengths the differences of heights."""
    root = to_tree(Z)

    def text(node, parent_height):
        length = parent_height - node.dist
        if node.is_leaf():
            return f"o{node.id}:{length!r}"
        return f"({text(node.left, node.dist)},{text(node.right, node.dist)}):{length!r}"

    with open(path, "w") as out:
        out.write(text(root, root.dist) + ";\n")


def read_den(path):
    """Our own format decoded independently of the program: the object count
    and the merges (first, second, float32 height) in file order."""
    with open(path) as f:
        n = int(f.readline().split()[0])
        merges = []
        for _ in range(n - 1):
            a, b, _c1, _c2, h = f.readline().split()
            merges.append((int(a), int(b), np.float32(float(h))))
    return n, merges


def partitions_by_level(n, merges):
    """Each level (distinct height, ascending; the top level left out) as,
    for every object 0..n-1, the 0-based smallest object of its cluster."""
    order = sorted(range(len(merges)), key=lambda i: merges[i][2])  # stable: file order among ties
    parent = list(range(n + 1))

    def find(x):
        while parent[x] != x:
            parent[x] = parent[parent[x]]
            x = parent[x]
        return x

    levels = []
    for position, i in enumerate(order):
        a, b, h = merges[i]
        ra, rb = find(a), find(b)
        parent[max(ra, rb)] = min(ra, rb)
        last_of_height = position + 1 == len(order) or merges[order[position + 1]][2] != h
        if last_of_height:
            levels.append(np.array([find(x) - 1 for x in range(1, n + 1)]))
    return levels[:-1]


def canonical(labels):
    """A partition as, for every object, the smallest object of its cluster."""
    first = {}
    return np.array([first.setdefault(label, i) for i, label in enumerate(labels)])
