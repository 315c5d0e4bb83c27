"""Shared pieces of the Python module's tests: where the sources and the
built command line are, random dendrograms, and the level partitions of a
linkage matrix worked out without the engine."""
import os
import subprocess
from pathlib import Path

import numpy as np
import pytest
from scipy.cluster.hierarchy import fcluster

import dendrocompare

SOURCE_DIR = Path(os.environ.get("DENDRO_SOURCE_DIR", Path(__file__).resolve().parents[2]))
BUILD_DIR = Path(os.environ.get("DENDRO_BUILD_DIR", SOURCE_DIR / "build"))
EXAMPLES = SOURCE_DIR / "examples"
CLI = BUILD_DIR / "app" / "dendrocompare-cli"


def pytest_configure(config):
    config.addinivalue_line("markers", "long: slow cross-checks, run as a test of their own")


def run_cli(*arguments, cwd):
    """Runs the command line; returns (exit status, stdout, stderr)."""
    done = subprocess.run([str(CLI), "-q", *map(str, arguments)], cwd=cwd, capture_output=True, text=True)
    return done.returncode, done.stdout, done.stderr


def cli_message(stderr):
    """The command line's error report without its program-name prefix."""
    prefix = "dendrocompare-cli: "
    assert stderr.startswith(prefix), stderr
    return stderr[len(prefix):].rstrip("\n")


def random_dendrogram(n, rng, distinct_heights):
    """A random valid tree of n objects whose heights come from a small set,
    so that several merges share a level; records name their clusters in
    either order, as files may."""
    names = list(range(1, n + 1))
    sizes = {name: 1 for name in names}
    heights = np.sort(rng.integers(1, distinct_heights + 1, n - 1)).astype(np.float32) * np.float32(0.25)
    merges = []
    for _ in range(n - 1):
        p, q = rng.choice(len(names), 2, replace=False)
        p, q = names[p], names[q]
        merges.append((p, q, sizes[p], sizes[q]) if rng.random() < 0.5 else (q, p, sizes[q], sizes[p]))
        keep, gone = min(p, q), max(p, q)
        sizes[keep] += sizes.pop(gone)
        names.remove(gone)
    return dendrocompare.Dendrogram(n, np.array(merges, dtype=np.int32), heights)


def float32_heights(Z):
    """Z with its heights rounded to 4-byte floats, as the engine keeps them."""
    rounded = np.array(Z, dtype=np.float64)
    rounded[:, 2] = rounded[:, 2].astype(np.float32)
    return rounded


def level_partitions(Z):
    """(heights, labels) of every compared level of a monotone linkage: level
    k is the k-th distinct 4-byte height, its partition joins every merge of
    that height or lower; the top level is left out."""
    rounded = float32_heights(Z)
    heights = np.unique(rounded[:, 2])[:-1]
    return heights, [fcluster(rounded, t=h, criterion="distance") for h in heights]


@pytest.fixture(scope="session")
def cli():
    if not CLI.exists():
        pytest.skip(f"{CLI} is not built")
    return CLI
