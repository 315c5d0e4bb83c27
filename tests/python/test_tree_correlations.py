"""Cophenetic correlation, Baker's gamma and the Fowlkes-Mallows curve
against scipy's cophenetic heights, scipy's Spearman correlation, sklearn's
Fowlkes-Mallows score and random relabellings."""
import numpy as np
import pytest
from scipy.cluster.hierarchy import cophenet, fcluster, linkage
from scipy.stats import spearmanr
from sklearn.datasets import load_iris
from sklearn.metrics import fowlkes_mallows_score

import dendrocompare
from conftest import float32_heights


def pairs_of(method1, method2, n=None, seed=3):
    points = load_iris().data if n is None else np.random.default_rng(seed).normal(size=(n, 3))
    return linkage(points, method1), linkage(points, method2)


@pytest.mark.parametrize("methods,n", [(("average", "complete"), None), (("single", "ward"), None),
                                       (("ward", "average"), 120)])
def test_correlations_over_all_pairs(methods, n):
    Z1, Z2 = pairs_of(*methods, n=n)
    # Levels, and so the heights the program knows, are 4-byte reals.
    c1, c2 = cophenet(float32_heights(Z1)), cophenet(float32_heights(Z2))
    comparison = dendrocompare.compare(Z1, Z2)
    assert comparison.cophenetic_correlation() == pytest.approx(np.corrcoef(c1, c2)[0, 1], abs=1e-12)
    spearman = spearmanr(c1, c2).correlation
    assert comparison.cophenetic_correlation("spearman") == pytest.approx(spearman, abs=1e-12)
    assert comparison.bakers_gamma == pytest.approx(spearman, abs=1e-12)
    with pytest.raises(ValueError, match="pearson"):
        comparison.cophenetic_correlation("kendall")


def test_identical_trees_correlate_fully():
    Z, _ = pairs_of("average", "average")
    comparison = dendrocompare.compare(Z, Z)
    assert comparison.cophenetic_correlation() == pytest.approx(1.0, abs=1e-12)
    assert comparison.bakers_gamma == pytest.approx(1.0, abs=1e-12)


def null_moments(labels1, labels2):
    """E and Var of Bk from the cluster sizes, written out from the paper's
    formulas on the contingency margins."""
    n = len(labels1)
    sizes1, sizes2 = np.unique(labels1, return_counts=True)[1].astype(float), np.unique(labels2, return_counts=True)[1].astype(float)
    p, q = (sizes1 ** 2).sum() - n, (sizes2 ** 2).sum() - n
    p3, q3 = (sizes1 * (sizes1 - 1) * (sizes1 - 2)).sum(), (sizes2 * (sizes2 - 1) * (sizes2 - 2)).sum()
    expected = np.sqrt(p * q) / (n * (n - 1))
    variance = (2 / (n * (n - 1)) + 4 * p3 * q3 / (n * (n - 1) * (n - 2) * p * q)
                + (p - 2 - 4 * p3 / p) * (q - 2 - 4 * q3 / q) / (n * (n - 1) * (n - 2) * (n - 3))
                - p * q / (n ** 2 * (n - 1) ** 2))
    return expected, variance


def test_bk_curve_follows_sklearn_and_the_null_moments():
    Z1, Z2 = pairs_of("average", "complete")
    comparison = dendrocompare.compare(Z1, Z2)
    curve = comparison.bk(sd=2)
    assert curve.dtype.names == ("k", "bk", "expected", "variance", "lower", "upper")
    both = sorted(set(comparison.clusters1) & set(comparison.clusters2))
    assert list(curve["k"]) == both
    for row in curve:
        p1 = fcluster(Z1, row["k"], "maxclust")
        p2 = fcluster(Z2, row["k"], "maxclust")
        if len(set(p1)) != row["k"] or len(set(p2)) != row["k"]:
            continue  # scipy's cut cannot make exactly k clusters here
        assert row["bk"] == pytest.approx(fowlkes_mallows_score(p1, p2), abs=1e-12)
        expected, variance = null_moments(p1, p2)
        assert row["expected"] == pytest.approx(expected, abs=1e-12)
        assert row["variance"] == pytest.approx(variance, abs=1e-12)
        assert row["upper"] == pytest.approx(expected + 2 * np.sqrt(variance), abs=1e-12)


def test_bk_expectation_and_variance_match_random_relabellings():
    Z1, Z2 = pairs_of("ward", "average")
    row = next(r for r in dendrocompare.compare(Z1, Z2).bk() if r["k"] == 4)
    p1, p2 = fcluster(Z1, 4, "maxclust"), fcluster(Z2, 4, "maxclust")
    rng = np.random.default_rng(1)
    draws = np.array([fowlkes_mallows_score(p1, rng.permutation(p2)) for _ in range(4000)])
    assert abs(draws.mean() - row["expected"]) < 4 * np.sqrt(row["variance"] / len(draws))
    assert draws.var() == pytest.approx(row["variance"], rel=0.15)
