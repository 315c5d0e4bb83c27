"""Variation of information and NMI at every level pair against
scikit-learn's mutual information, NMI (arithmetic mean, its default) and
the entropies of its contingency matrices."""
import numpy as np
import pytest
from scipy.cluster.hierarchy import linkage
from sklearn.datasets import load_breast_cancer, load_iris, load_wine
from sklearn.metrics import mutual_info_score, normalized_mutual_info_score
from sklearn.metrics.cluster import contingency_matrix

import dendrocompare
from conftest import level_partitions

LOADERS = {"iris": load_iris, "wine": load_wine, "breast_cancer": load_breast_cancer}
TOLERANCE = 1e-12


def entropy_of(counts):
    p = counts[counts > 0] / counts.sum()
    return float(-(p * np.log(p)).sum())


def sklearn_information(labels1, labels2):
    """(variation of information, NMI) of two labellings by sklearn's pieces."""
    table = contingency_matrix(labels1, labels2)
    h1, h2 = entropy_of(table.sum(axis=1)), entropy_of(table.sum(axis=0))
    mutual = mutual_info_score(labels1, labels2)
    return h1 + h2 - 2 * mutual, normalized_mutual_info_score(labels1, labels2)


def check_pairs(Z1, Z2, rows, columns):
    comparison = dendrocompare.compare(Z1, Z2)
    _, partitions1 = level_partitions(Z1)
    _, partitions2 = level_partitions(Z2)
    vi, nmi = comparison.variation_of_information, comparison.nmi
    assert vi.shape == nmi.shape == (len(partitions1), len(partitions2))
    for k in rows:
        for l in columns:
            expected_vi, expected_nmi = sklearn_information(partitions1[k], partitions2[l])
            assert vi[k, l] == pytest.approx(expected_vi, abs=TOLERANCE), (k, l)
            assert nmi[k, l] == pytest.approx(expected_nmi, abs=TOLERANCE), (k, l)
    return comparison


@pytest.mark.parametrize("seed,n", [(1, 12), (2, 40), (3, 90)])
def test_every_level_pair_of_small_trees(seed, n):
    points = np.random.default_rng(seed).normal(size=(n, 3))
    Z1, Z2 = linkage(points, "average"), linkage(points, "single")
    check_pairs(Z1, Z2, range(n - 2), range(n - 2))


@pytest.mark.parametrize("data_set,method1,method2", [("iris", "average", "complete"), ("wine", "ward", "single"),
                                                       ("breast_cancer", "average", "complete")])
def test_sampled_level_pairs_of_real_data(data_set, method1, method2):
    points = LOADERS[data_set]().data
    Z1, Z2 = linkage(points, method1), linkage(points, method2)
    rng = np.random.default_rng(7)
    _, partitions1 = level_partitions(Z1)
    _, partitions2 = level_partitions(Z2)
    rows = np.unique(np.concatenate([[0, len(partitions1) - 1], rng.integers(0, len(partitions1), 14)]))
    columns = np.unique(np.concatenate([[0, len(partitions2) - 1], rng.integers(0, len(partitions2), 14)]))
    assert len(rows) * len(columns) >= 200 or len(partitions1) < 20
    check_pairs(Z1, Z2, rows, columns)


def test_identical_trees_have_no_variation_and_full_information():
    Z = linkage(load_iris().data, "ward")
    comparison = dendrocompare.compare(Z, Z)
    assert np.all(np.diag(comparison.variation_of_information) == 0)
    assert np.allclose(np.diag(comparison.nmi), 1.0, rtol=0, atol=TOLERANCE)
    assert np.all(comparison.variation_of_information >= 0) and np.all(comparison.nmi >= 0)


def test_top_levels_have_the_full_comparisons_information():
    points = np.random.default_rng(4).normal(size=(300, 3))
    Z1, Z2 = linkage(points, "ward"), linkage(points, "complete")
    full, top = dendrocompare.compare(Z1, Z2), dendrocompare.compare(Z1, Z2, max_clusters=30)
    r0, c0 = top.base_level1 - 1, top.base_level2 - 1
    for name in ("variation_of_information", "nmi"):
        assert np.allclose(getattr(top, name), getattr(full, name)[r0:, c0:], rtol=0, atol=TOLERANCE)


def test_single_precision_comparisons_have_no_information():
    comparison = dendrocompare.compare(linkage(load_iris().data, "ward"), linkage(load_iris().data, "single"),
                                       exact=False)
    with pytest.raises(ValueError, match="exact=True"):
        comparison.nmi
