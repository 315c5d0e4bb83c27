"""The exact values agree with sklearn's scores, level pair by level pair,
on scipy linkages of the data sets that come with sklearn; the level
partitions are cut from the linkage matrices with scipy, not by the
engine. The 4-byte tables are the exact values rounded once, except the
adjusted Rand, which the program forms from single-precision sums and is
held to that arithmetic's error bound."""
import os
from concurrent.futures import ProcessPoolExecutor

import numpy as np
import pytest
from scipy.cluster.hierarchy import linkage
from sklearn.datasets import load_breast_cancer, load_iris, load_wine
from sklearn.metrics import adjusted_rand_score, fowlkes_mallows_score, rand_score
from sklearn.metrics.cluster import pair_confusion_matrix

import dendrocompare
from conftest import level_partitions

LOADERS = {"iris": load_iris, "wine": load_wine, "breast_cancer": load_breast_cancer}
TOLERANCE = 1e-12
UNIT_ROUNDOFF = 2.0 ** -24


def linkages(data_set, method1, method2):
    points = LOADERS[data_set]().data
    return linkage(points, method1), linkage(points, method2)


def sklearn_rows(partitions1, partitions2, rows):
    """1 - Rand, 1 - adjusted Rand and Fowlkes-Mallows by sklearn for the
    given rows of level pairs."""
    result = np.empty((len(rows), len(partitions2), 3))
    for i, k in enumerate(rows):
        for l, labels2 in enumerate(partitions2):
            labels1 = partitions1[k]
            result[i, l] = (1 - rand_score(labels1, labels2), 1 - adjusted_rand_score(labels1, labels2),
                            fowlkes_mallows_score(labels1, labels2))
    return result


def sklearn_scores(partitions1, partitions2, rows, workers=1):
    if workers == 1:
        return sklearn_rows(partitions1, partitions2, rows)
    blocks = np.array_split(rows, workers)
    with ProcessPoolExecutor(workers) as pool:
        parts = pool.map(sklearn_rows, [partitions1] * workers, [partitions2] * workers, blocks)
        return np.concatenate(list(parts))


def check_levels(comparison, Z1, Z2):
    heights1, partitions1 = level_partitions(Z1)
    heights2, partitions2 = level_partitions(Z2)
    assert np.array_equal(comparison.heights1, heights1.astype(np.float32))
    assert np.array_equal(comparison.heights2, heights2.astype(np.float32))
    assert list(comparison.clusters1) == [len(np.unique(p)) for p in partitions1]
    assert list(comparison.clusters2) == [len(np.unique(p)) for p in partitions2]
    return partitions1, partitions2


def check_against_sklearn(comparison, partitions1, partitions2, rows, columns, workers=1):
    exact = comparison.exact()
    expected = sklearn_scores(partitions1, partitions2, rows, workers)[:, columns]
    grid = np.ix_(rows, columns)
    for i, name in enumerate(("rand", "adjusted_rand", "fowlkes_mallows")):
        difference = np.abs(exact[name][grid] - expected[:, :, i])
        assert difference.max() <= TOLERANCE, (name, np.unravel_index(difference.argmax(), difference.shape))
    assert np.array_equal(comparison.fowlkes_mallows, exact["fowlkes_mallows"])


def adjusted_rand_error_bound(comparison, exact):
    """The first-order error of the single-precision chain: F, S1, S2 and S12
    each rounded per addition (recursive summation of positive terms), the
    expected agreement E formed from them, and the final rounding."""
    n, pairs = comparison.object_count, comparison.pair_count
    counts = comparison.pair_counts()
    s1 = (n + 2 * counts["joined1"].astype(np.float64))[:, None]  # sums of squared cluster sizes
    s2 = (n + 2 * counts["joined2"].astype(np.float64))[None, :]
    c1 = comparison.clusters1.astype(np.float64)[:, None]
    c2 = comparison.clusters2.astype(np.float64)[None, :]
    f = n * (n * n + 1.0)
    expected = (2 * s1 * s2 / n + (f - (n + 1) * s1) - (n + 1) * s2) / (2 * (n - 1))
    expected_error = (2 * c1 * c2 * s1 * s2 / n + f + (n + 1) * (c1 * s1 + c2 * s2)) * UNIT_ROUNDOFF / (2 * (n - 1))
    return exact / (pairs - expected) * expected_error + UNIT_ROUNDOFF * np.abs(exact)


def check_single_precision(exact_comparison, Z1, Z2):
    """The single-precision tables against the exact values, whose pair
    counts must be the single-precision engine's own."""
    comparison = dendrocompare.compare(Z1, Z2, exact=False)
    exact = comparison.exact()
    for name in ("joined_both", "joined1", "joined2"):
        assert np.array_equal(comparison.pair_counts()[name], exact_comparison.pair_counts()[name]), name
    for name, table in exact_comparison.exact().items():
        assert table.tobytes() == exact[name].tobytes(), name
    for name in ("jaccard", "rand", "euclidean", "sorensen"):
        assert np.array_equal(comparison.table(name), exact[name].astype(np.float32)), name
    error = np.abs(comparison.adjusted_rand.astype(np.float64) - exact["adjusted_rand"])
    assert np.all(error <= adjusted_rand_error_bound(comparison, exact["adjusted_rand"]))


QUICK_CASES = [("iris", "average", "complete"), ("iris", "ward", "single")]
SAMPLED_CASES = [("wine", "average", "ward"), ("breast_cancer", "average", "complete")]
LONG_CASES = [("wine", "average", "ward"), ("wine", "complete", "single"), ("breast_cancer", "average", "complete")]


@pytest.mark.parametrize("data_set,method1,method2", QUICK_CASES)
def test_every_level_pair_agrees_with_sklearn(data_set, method1, method2):
    Z1, Z2 = linkages(data_set, method1, method2)
    comparison = dendrocompare.compare(Z1, Z2)
    partitions1, partitions2 = check_levels(comparison, Z1, Z2)
    rows, columns = np.arange(len(partitions1)), np.arange(len(partitions2))
    check_against_sklearn(comparison, partitions1, partitions2, rows, columns)
    check_single_precision(comparison, Z1, Z2)


@pytest.mark.parametrize("data_set,method1,method2", SAMPLED_CASES)
def test_sampled_level_pairs_agree_with_sklearn(data_set, method1, method2):
    Z1, Z2 = linkages(data_set, method1, method2)
    comparison = dendrocompare.compare(Z1, Z2)
    partitions1, partitions2 = check_levels(comparison, Z1, Z2)
    rows = np.unique(np.linspace(0, len(partitions1) - 1, 8).astype(int))
    check_against_sklearn(comparison, partitions1, partitions2, rows, np.arange(len(partitions2)))
    check_single_precision(comparison, Z1, Z2)


@pytest.mark.long
@pytest.mark.parametrize("data_set,method1,method2", LONG_CASES)
def test_every_level_pair_agrees_with_sklearn_on_larger_data(data_set, method1, method2):
    Z1, Z2 = linkages(data_set, method1, method2)
    comparison = dendrocompare.compare(Z1, Z2)
    partitions1, partitions2 = check_levels(comparison, Z1, Z2)
    rows, columns = np.arange(len(partitions1)), np.arange(len(partitions2))
    check_against_sklearn(comparison, partitions1, partitions2, rows, columns, workers=os.cpu_count() or 1)


@pytest.mark.parametrize("data_set,method1,method2", QUICK_CASES)
def test_pair_measures_agree_with_sklearns_pair_counts(data_set, method1, method2):
    Z1, Z2 = linkages(data_set, method1, method2)
    comparison = dendrocompare.compare(Z1, Z2)
    exact = comparison.exact()
    _, partitions1 = level_partitions(Z1)
    _, partitions2 = level_partitions(Z2)
    for k in range(0, len(partitions1), 5):
        for l, labels2 in enumerate(partitions2):
            (_, only2), (only1, both) = pair_confusion_matrix(partitions1[k], labels2) // 2
            disagree = only1 + only2
            assert exact["jaccard"][k, l] == pytest.approx(disagree / (disagree + both), abs=TOLERANCE)
            assert exact["sorensen"][k, l] == pytest.approx(disagree / (disagree + 2 * both), abs=TOLERANCE)
            assert exact["euclidean"][k, l] == pytest.approx(np.sqrt(disagree), abs=TOLERANCE)
