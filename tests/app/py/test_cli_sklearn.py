"""The command line's values against sklearn at every level pair: the exact
doubles from pair counts agree with rand_score, adjusted_rand_score and
fowlkes_mallows_score to 1e-12, and the stored 4-byte values lie within
single-precision rounding of them."""
import csv

import numpy as np
import pytest
from scipy.cluster.hierarchy import cut_tree
from sklearn.metrics import adjusted_rand_score, fowlkes_mallows_score, rand_score

from conftest import data_linkage, run_cli

MEASURES = ["jaccard", "rand", "euclidean", "sorensen", "adjusted_rand", "fowlkes_mallows"]


def level_pairs(path):
    with open(path) as f:
        rows = list(csv.DictReader(f, delimiter="\t" if str(path).endswith(".tsv") else ","))
    return rows


def float32_ulp(value):
    return np.spacing(np.float32(abs(value)))


@pytest.mark.parametrize("data, method1, method2", [
    ("iris", "average", "complete"),
    ("wine", "single", "ward"),
])
def test_every_level_pair_agrees_with_sklearn(tmp_path, data, method1, method2):
    Z1, Z2 = data_linkage(data, method1), data_linkage(data, method2)
    np.save(tmp_path / "a.npy", Z1)
    np.save(tmp_path / "b.npy", Z2)
    result = run_cli("--csv", "exact.csv", "--exact", "--tsv", "stored.tsv", "a.npy", "b.npy", cwd=tmp_path)
    assert result.returncode == 0, result.stderr
    exact, stored = level_pairs(tmp_path / "exact.csv"), level_pairs(tmp_path / "stored.tsv")
    assert len(exact) == len(stored) > 1000

    counts1 = sorted({int(r["clusters1"]) for r in exact}, reverse=True)
    counts2 = sorted({int(r["clusters2"]) for r in exact}, reverse=True)
    cuts1 = dict(zip(counts1, cut_tree(Z1, n_clusters=counts1).T))
    cuts2 = dict(zip(counts2, cut_tree(Z2, n_clusters=counts2).T))

    worst_adjusted = 0.0
    for e, s in zip(exact, stored):
        p1, p2 = cuts1[int(e["clusters1"])], cuts2[int(e["clusters2"])]
        assert float(e["rand"]) == pytest.approx(1 - rand_score(p1, p2), abs=1e-12)
        assert float(e["adjusted_rand"]) == pytest.approx(1 - adjusted_rand_score(p1, p2), abs=1e-12)
        assert float(e["fowlkes_mallows"]) == pytest.approx(fowlkes_mallows_score(p1, p2), abs=1e-12)
        # Jaccard, Rand, Euclidean and Sorensen are one division (or root) of
        # exact integers, rounded once to 4 bytes: within one unit in the
        # last place of the exact value.
        for m in ["jaccard", "rand", "euclidean", "sorensen", "fowlkes_mallows"]:
            assert abs(float(s[m]) - float(e[m])) <= float32_ulp(float(e[m])), (m, e, s)
        # The adjusted value goes through 4-byte sums of squared margins
        # (S12 up to N^4 = 1e9 > 2^24) and so carries their rounding too.
        worst_adjusted = max(worst_adjusted, abs(float(s["adjusted_rand"]) - float(e["adjusted_rand"])))
    assert worst_adjusted <= 1e-5
