"""Every converter against scipy itself: a linkage written in each format
other tools use is read by the command line and written in our own format;
its partition at every level must be scipy's cut_tree at that cluster
count."""
import numpy as np
import pytest
from scipy.cluster.hierarchy import cut_tree

from conftest import canonical, data_linkage, partitions_by_level, read_den, run_cli, write_hclust_csv, write_newick

FORMATS = {
    "npy": lambda Z, p: np.save(p, Z),
    "savetxt": lambda Z, p: np.savetxt(p, Z),
    "savetxt_commas": lambda Z, p: np.savetxt(p, Z, delimiter=","),
    "hclust": write_hclust_csv,
    "newick": write_newick,
}
SUFFIX = {"npy": ".npy", "savetxt": ".txt", "savetxt_commas": ".csv", "hclust": ".csv", "newick": ".nwk"}


@pytest.mark.parametrize("data", ["iris", "wine"])
@pytest.mark.parametrize("method", ["single", "complete", "average", "ward", "weighted"])
@pytest.mark.parametrize("form", sorted(FORMATS))
def test_partitions_at_every_level_are_scipys_cut_tree(tmp_path, data, method, form):
    Z = data_linkage(data, method)
    n = Z.shape[0] + 1
    source = tmp_path / f"z{SUFFIX[form]}"
    FORMATS[form](Z, source)
    arguments = ["--write-den", "out.den", source]
    if form == "newick":
        (tmp_path / "labels.txt").write_text("".join(f"o{i}\n" for i in range(n)))
        arguments = ["--labels", "labels.txt", *arguments]
    result = run_cli(*arguments, cwd=tmp_path)
    assert result.returncode == 0, result.stderr
    count, merges = read_den(tmp_path / "out.den")
    assert count == n
    levels = partitions_by_level(n, merges)
    assert len(levels) >= 1
    cluster_counts = [len(set(level)) for level in levels]
    cuts = cut_tree(Z, n_clusters=cluster_counts)
    for level, column in zip(levels, cuts.T):
        np.testing.assert_array_equal(level, canonical(column))


def test_the_same_tree_in_every_format_gives_the_same_results_file(tmp_path):
    Z1, Z2 = data_linkage("iris", "average"), data_linkage("iris", "complete")
    results = {}
    for form in sorted(FORMATS):
        arguments = []
        for i, Z in enumerate((Z1, Z2)):
            path = tmp_path / f"{form}{i}{SUFFIX[form]}"
            FORMATS[form](Z, path)
            arguments.append(path)
        if form == "newick":
            (tmp_path / "labels.txt").write_text("".join(f"o{i}\n" for i in range(150)))
            arguments = ["--labels", "labels.txt", *arguments]
        result = run_cli(*arguments, cwd=tmp_path)
        assert result.returncode == 0, result.stderr
        results[form] = (tmp_path / "MATRICES.DAT").read_bytes()
    assert len(set(results.values())) == 1, sorted(results)
