"""Comparing the top levels alone: the same pair counts as the full exact
comparison on the levels it keeps, and no more levels than asked for."""
import numpy as np
import pytest
from scipy.cluster.hierarchy import linkage

import dendrocompare


def blobs(n, seed):
    rng = np.random.default_rng(seed)
    centres = rng.normal(scale=8.0, size=(6, 4))
    return centres[rng.integers(0, 6, n)] + rng.normal(size=(n, 4))


def check_top_levels(n, max_clusters, methods):
    points = blobs(n, n)
    Z1, Z2 = linkage(points, methods[0]), linkage(points, methods[1])
    full = dendrocompare.compare(Z1, Z2)
    top = dendrocompare.compare(Z1, Z2, max_clusters=max_clusters)
    r0, c0 = top.base_level1 - 1, top.base_level2 - 1
    assert top.clusters1.max() <= max_clusters and top.clusters2.max() <= max_clusters
    assert full.clusters1[r0 - 1] > max_clusters and full.clusters2[c0 - 1] > max_clusters
    assert np.array_equal(top.clusters1, full.clusters1[r0:]) and np.array_equal(top.heights2, full.heights2[c0:])
    full_counts, top_counts = full.pair_counts(), top.pair_counts()
    assert np.array_equal(top_counts["joined_both"], full_counts["joined_both"][r0:, c0:])
    assert np.array_equal(top_counts["joined1"], full_counts["joined1"][r0:])
    assert np.array_equal(top_counts["joined2"], full_counts["joined2"][c0:])
    for measure in dendrocompare.MEASURES + ("fowlkes_mallows",):
        assert getattr(top, measure).tobytes() == getattr(full, measure)[r0:, c0:].tobytes(), measure


@pytest.mark.parametrize("methods", [("single", "ward"), ("average", "complete")])
def test_top_levels_are_the_full_comparisons_cells(methods):
    check_top_levels(600, 40, methods)


@pytest.mark.long
def test_top_thousand_levels_at_five_thousand_objects():
    check_top_levels(5000, 1000, ("single", "ward"))


def test_top_levels_need_an_exact_comparison():
    Z = linkage(blobs(20, 1), "ward")
    with pytest.raises(ValueError, match="exact=True"):
        dendrocompare.compare(Z, Z, exact=False, max_clusters=5)
    with pytest.raises(ValueError, match="positive"):
        dendrocompare.compare(Z, Z, max_clusters=0)
