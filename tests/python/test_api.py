"""The package's objects: dendrograms from every source agree record for
record, tables are read-only views that outlive their Comparison, and the
levels, cluster counts and minima follow the level definition."""
import gc

import numpy as np
import pytest

import dendrocompare
from conftest import EXAMPLES, cli_message, random_dendrogram, run_cli

# Four objects: {1,2} at 0.5, {3,4} at 0.7, all at 1.0.
LINKAGE = np.array([[0, 1, 0.5, 2], [2, 3, 0.7, 2], [4, 5, 1.0, 4]])
RECORDS = [[1, 2, 1, 1], [3, 4, 1, 1], [1, 3, 2, 2]]
HEIGHTS = np.array([0.5, 0.7, 1.0], dtype=np.float32)
FILES = {
    "z.npy": None,
    "z.txt": "0 1 0.5 2\n2 3 0.7 2\n4 5 1.0 4\n",
    "h.csv": '"","V1","V2","height"\n"1",-1,-2,0.5\n"2",-3,-4,0.7\n"3",1,2,1\n',
    "t.nwk": "((a:0.5,b:0.5):0.5,(c:0.7,d:0.7):0.3);\n",
    "own.den": "4\n1 2 1 1 0.5\n3 4 1 1 0.7\n1 3 2 2 1.0\n",
    "own.txt": "4\n1 2 1 1 0.5\n3 4 1 1 0.7\n1 3 2 2 1.0\n",
}


def test_linkage_gives_the_records_with_cluster_sizes_as_companions():
    d = dendrocompare.from_linkage(LINKAGE)
    assert d.object_count == 4 and len(d) == 3
    assert d.merges.tolist() == RECORDS
    assert np.array_equal(d.heights, HEIGHTS)


def test_hclust_merges_give_the_same_dendrogram():
    hclust = dendrocompare.from_hclust([[-1, -2], [-3, -4], [1, 2]], [0.5, 0.7, 1.0])
    assert hclust == dendrocompare.from_linkage(LINKAGE)


@pytest.mark.parametrize("name", FILES)
def test_every_file_format_reads_to_the_same_dendrogram(name, tmp_path):
    path = tmp_path / name
    if FILES[name] is None:
        np.save(path, LINKAGE)
    else:
        path.write_text(FILES[name])
    formats = {"own.txt": "den"}
    assert dendrocompare.read_dendrogram(path, format=formats.get(name)) == dendrocompare.from_linkage(LINKAGE)


def test_newick_labels_give_the_object_order(tmp_path):
    (tmp_path / "t.nwk").write_text(FILES["t.nwk"])
    d = dendrocompare.read_dendrogram(tmp_path / "t.nwk", labels=["d", "c", "b", "a"])
    assert d.merges[:, :2].tolist() == [[4, 3], [2, 1], [3, 1]]


@pytest.mark.parametrize("dtype", ["<f4", ">f4", ">f8"])
def test_npy_matrices_of_either_precision_and_byte_order_read_as_float64_does(dtype, tmp_path):
    # The heights 0.5, 0.7 and 1.0 as a 4-byte real are the engine's own.
    np.save(tmp_path / "z.npy", LINKAGE.astype(dtype))
    assert dendrocompare.read_dendrogram(tmp_path / "z.npy") == dendrocompare.from_linkage(LINKAGE)


# LINKAGE's tree with objects 1..4 named a..d, leaves in another order:
# paired by position, c and d would be objects 1 and 2.
TREE = "((c:0.7,d:0.7):0.3,(b:0.5,a:0.5):0.5);\n"


def test_a_tree_with_labels_pairs_with_a_matrix_through_the_labels_given(tmp_path):
    (tmp_path / "t.nwk").write_text(TREE)
    for first, second in ((tmp_path / "t.nwk", LINKAGE), (LINKAGE, tmp_path / "t.nwk")):
        c = dendrocompare.compare(first, second, labels=["a", "b", "c", "d"])
        assert np.all(np.diag(c.adjusted_rand) == 0) and c.adjusted_rand.shape == (2, 2)
    (tmp_path / "numbered.nwk").write_text(TREE.replace("a", "1").replace("b", "2").replace("c", "3").replace("d", "4"))
    assert np.all(np.diag(dendrocompare.compare(tmp_path / "numbered.nwk", LINKAGE).adjusted_rand) == 0)
    np.savetxt(tmp_path / "z.txt", LINKAGE)
    (tmp_path / "labels.txt").write_text("a\nb\nc\nd\n")
    by_file = dendrocompare.compare(tmp_path / "t.nwk", tmp_path / "z.txt", labels=tmp_path / "labels.txt")
    assert np.all(np.diag(by_file.adjusted_rand) == 0)


def test_our_own_format_round_trips_with_the_shortest_heights(tmp_path):
    d = dendrocompare.Dendrogram(4, RECORDS, [0.5, 0.1, 1.0])
    d.to_den(str(tmp_path / "d.den"))
    assert (tmp_path / "d.den").read_text() == "4\n1 2 1 1 0.5\n3 4 1 1 0.1\n1 3 2 2 1\n"
    assert dendrocompare.read_dendrogram(tmp_path / "d.den") == d
    rng = np.random.default_rng(5)
    random = dendrocompare.Dendrogram(50, random_dendrogram(50, rng, 49).merges, np.sort(rng.random(49)) * 1e-3)
    random.to_den(str(tmp_path / "r.den"))
    assert dendrocompare.read_dendrogram(tmp_path / "r.den") == random


def test_inputs_of_every_kind_compare_alike():
    path = EXAMPLES / "iris/average.den"
    d = dendrocompare.read_dendrogram(path)
    by_path = dendrocompare.compare(path, EXAMPLES / "iris/complete.den")
    mixed = dendrocompare.compare(d, str(EXAMPLES / "iris/complete.den"))
    for measure in dendrocompare.MEASURES:
        assert by_path.table(measure).tobytes() == mixed.table(measure).tobytes()


@pytest.mark.parametrize("exact,dtype", [(False, np.float32), (True, np.float64)])
def test_tables_are_read_only_and_outlive_their_comparison(exact, dtype):
    comparison = dendrocompare.compare(EXAMPLES / "five1.den", EXAMPLES / "five2.den", exact=exact)
    jaccard, copy = comparison.jaccard, comparison.jaccard.copy()
    assert jaccard.dtype == dtype and jaccard.shape == (2, 3)
    assert comparison.jaccard is jaccard or not exact  # an exact table is worked out once
    with pytest.raises(ValueError):
        jaccard[0, 0] = 0
    del comparison
    gc.collect()
    assert np.array_equal(jaccard, copy)


def test_exact_is_the_default_and_write_matrices_says_what_it_needs(tmp_path):
    exact = dendrocompare.compare(EXAMPLES / "five1.den", EXAMPLES / "five2.den")
    assert exact.exact_values and exact.adjusted_rand.dtype == np.float64
    with pytest.raises(ValueError, match="exact=False"):
        exact.write_matrices(str(tmp_path / "MATRICES.DAT"))
    assert not (tmp_path / "MATRICES.DAT").exists()


def test_levels_clusters_and_heights_follow_the_distinct_heights():
    # Heights 1, 2, 2, 3 make three levels: {1,2},{3},{4},{5} then {1,2,3,4},{5}.
    d1 = dendrocompare.Dendrogram(5, [[1, 2, 0, 0], [3, 4, 0, 0], [1, 3, 0, 0], [1, 5, 0, 0]], [1, 2, 2, 3])
    d2 = dendrocompare.Dendrogram(5, [[4, 5, 0, 0], [1, 2, 0, 0], [3, 4, 0, 0], [1, 3, 0, 0]], [1, 2, 3, 4])
    c = dendrocompare.compare(d1, d2)
    assert (c.levels1, c.levels2, c.object_count, c.pair_count) == (3, 4, 5, 10)
    assert c.clusters1.tolist() == [4, 2] and c.clusters2.tolist() == [4, 3, 2]
    assert c.heights1.tolist() == [1, 2] and c.heights2.tolist() == [1, 2, 3]
    counts = c.pair_counts()
    assert counts["joined1"].tolist() == [1, 6] and counts["joined2"].tolist() == [1, 2, 4]
    # Level pair (2, 3): {1,2,3,4},{5} against {1,2},{3,4,5}: both join (1,2) and (3,4).
    assert counts["joined_both"][1, 2] == 2
    assert c.exact()["jaccard"][1, 2] == (6 + 4 - 4) / (6 + 4 - 2)
    assert c.fowlkes_mallows[1, 2] == pytest.approx(2 / np.sqrt(6 * 4), abs=1e-15)


def test_minima_are_the_first_smallest_values_in_row_order():
    rng = np.random.default_rng(3)
    c = dendrocompare.compare(random_dendrogram(60, rng, 12), random_dendrogram(60, rng, 12))
    for measure, (value, clusters1, clusters2) in c.minima.items():
        table = c.table(measure)
        k, l = np.unravel_index(np.argmin(table), table.shape)
        assert value == table[k, l] and (clusters1, clusters2) == (c.clusters1[k], c.clusters2[l])


def test_a_single_level_leaves_nothing_to_compare(tmp_path, monkeypatch):
    one_level = dendrocompare.Dendrogram(5, [[1, 2, 0, 0], [3, 4, 0, 0], [1, 3, 0, 0], [1, 5, 0, 0]], [1, 1, 1, 1])
    with pytest.raises(dendrocompare.InputError) as raised:
        dendrocompare.compare(EXAMPLES / "five1.den", one_level)
    assert str(raised.value) == "dendrogram 2 has a single level; there is nothing to compare"
    # Files are named by their paths, the first of two, with the command line's words.
    monkeypatch.chdir(tmp_path)
    one_level.to_den("one.den")
    status, _, stderr = run_cli("one.den", "one.den", cwd=tmp_path)
    assert status == 1
    with pytest.raises(dendrocompare.InputError) as raised:
        dendrocompare.compare("one.den", "one.den")
    assert str(raised.value) == cli_message(stderr) == "dendrogram one.den has a single level; there is nothing to compare"
    two_objects = dendrocompare.from_linkage([[0, 1, 2.0, 2]])
    with pytest.raises(dendrocompare.InputError, match="^dendrogram 1 has a single level"):
        dendrocompare.compare(two_objects, two_objects)


def test_the_public_names_are_documented():
    for name in dendrocompare.__all__:
        assert getattr(dendrocompare, name).__doc__, name
    for name in ("jaccard", "exact", "minima", "write_matrices", "clusters1", "heights2", "fowlkes_mallows"):
        assert getattr(dendrocompare.Comparison, name).__doc__, name
    assert dendrocompare.Dendrogram.to_den.__doc__
