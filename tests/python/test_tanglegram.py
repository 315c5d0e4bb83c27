"""Comparison.tanglegram: the leaf orders are scipy's own, the entanglement
follows its definition, untangling never makes it worse and the picture is
written; in the long suite, the entanglement equals R dendextend's
entanglement() and the untangled one is at most that of its
untangle(method = "step2side") on the same trees."""
import shutil
import subprocess

import numpy as np
import pytest
from scipy.cluster.hierarchy import leaves_list, linkage

import dendrocompare


def entanglement_by_definition(order1, order2):
    n = len(order1)
    position2 = np.empty(n, dtype=np.int64)
    position2[np.asarray(order2)] = np.arange(n)
    worst = np.sum(np.abs(np.arange(n) - np.arange(n)[::-1]) ** 1.5)
    return np.sum(np.abs(np.arange(n) - position2[np.asarray(order1)]) ** 1.5) / worst


@pytest.fixture(scope="module")
def linkages():
    rng = np.random.default_rng(7)
    points = np.vstack([rng.normal(centre, 1.0, size=(40, 3)) for centre in range(4)])
    return linkage(points, "average"), linkage(points, "complete")


def test_given_orders_are_scipys_leaves_and_untangling_helps(linkages):
    z1, z2 = linkages
    result = dendrocompare.compare(z1, z2)
    given = result.tanglegram(untangle=False)
    assert np.array_equal(given["order1"], leaves_list(z1))
    assert np.array_equal(given["order2"], leaves_list(z2))
    assert given["entanglement"] == pytest.approx(entanglement_by_definition(leaves_list(z1), leaves_list(z2)),
                                                  abs=1e-14)
    untangled = result.tanglegram()
    assert untangled["given_entanglement"] == given["entanglement"]
    assert untangled["entanglement"] <= given["entanglement"]
    assert untangled["entanglement"] == pytest.approx(
        entanglement_by_definition(untangled["order1"], untangled["order2"]), abs=1e-14)
    assert sorted(untangled["order1"]) == list(range(160))


def test_colour_levels_and_moved_objects(linkages):
    result = dendrocompare.compare(*linkages)
    t = result.tanglegram(clusters=4)
    assert t["clusters1"] == 4
    assert len(set(t["cluster1"])) == 4 and len(set(t["cluster2"])) == t["clusters2"]
    top = result.base_level1 + len(result.clusters1) - 1
    assert result.tanglegram(level=top)["clusters1"] == result.clusters1[-1]
    # An object moved exactly when its pair of clusters is not the largest
    # share of both its clusters.
    pairs = {}
    for a, b in zip(t["cluster1"], t["cluster2"]):
        pairs[(a, b)] = pairs.get((a, b), 0) + 1
    for x, (a, b) in enumerate(zip(t["cluster1"], t["cluster2"])):
        row_most = max(n for (i, _), n in pairs.items() if i == a)
        column_most = max(n for (_, j), n in pairs.items() if j == b)
        assert t["moved"][x] == (pairs[(a, b)] != row_most or pairs[(a, b)] != column_most)


@pytest.mark.parametrize("arguments,message", [
    ({"clusters": 0}, "clusters must be a positive integer"),
    ({"clusters": 2, "level": 3}, "give clusters or level, not both"),
    ({"level": 0}, "level must be a compared level of dendrogram 1"),
    ({"labels": ["a", "b"]}, "labels has 2 names for 160 objects"),
])
def test_bad_arguments_are_refused(linkages, arguments, message):
    with pytest.raises(ValueError, match=message):
        dendrocompare.compare(*linkages).tanglegram(**arguments)


def test_the_picture_is_written_and_an_unwritable_one_refused(linkages, tmp_path):
    result = dendrocompare.compare(*linkages)
    result.tanglegram(tmp_path / "t.png")
    assert (tmp_path / "t.png").read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"
    points = np.random.default_rng(3).normal(size=(40, 2))
    few = dendrocompare.compare(linkage(points, "single"), linkage(points, "ward"))
    few.tanglegram(tmp_path / "t.svg", labels=[f"o{i}" for i in range(40)])
    assert ">o17<" in (tmp_path / "t.svg").read_text()
    with pytest.raises(dendrocompare.OutputError, match="cannot write the picture"):
        result.tanglegram(tmp_path / "missing" / "t.png")


R_SCRIPT = r'''
suppressMessages(library(dendextend))
args <- commandArgs(TRUE)
if (args[1] == "random") {
  set.seed(as.integer(args[2]))
  h1 <- hclust(dist(matrix(rnorm(600), 200)), "average")
  h2 <- hclust(dist(matrix(rnorm(600), 200)), "average")
} else {
  data <- if (args[1] == "USArrests") USArrests else iris[, 1:4]
  h1 <- hclust(dist(data), args[2]); h2 <- hclust(dist(data), args[3])
}
write.csv(data.frame(h1$merge, h1$height), file.path(args[4], "h1.csv"))
write.csv(data.frame(h2$merge, h2$height), file.path(args[4], "h2.csv"))
d1 <- as.dendrogram(h1); d2 <- as.dendrogram(h2)
u <- untangle(d1, d2, method = "step2side")
writeLines(c(sprintf("given %.17g", entanglement(d1, d2)),
             sprintf("step2side %.17g", entanglement(u[[1]], u[[2]])),
             paste("order1", paste(order.dendrogram(d1), collapse = " "))))
'''


@pytest.mark.long
@pytest.mark.parametrize("data,method1,method2", [("iris", "average", "complete"), ("USArrests", "single", "ward.D2"),
                                                  ("random", "1", "-"), ("random", "2", "-")])
def test_entanglement_equals_dendextends_and_untangling_does_at_least_as_well(data, method1, method2, tmp_path):
    rscript = shutil.which("Rscript")
    assert rscript, "Rscript is missing: scripts/setup.sh installs r-base and r-cran-dendextend"
    lines = subprocess.run([rscript, "-e", R_SCRIPT, data, method1, method2, str(tmp_path)], check=True,
                           capture_output=True, text=True).stdout.split("\n")
    values = {line.split()[0]: line.split()[1:] for line in lines if line}
    result = dendrocompare.compare(tmp_path / "h1.csv", tmp_path / "h2.csv")
    given = result.tanglegram(untangle=False)
    assert np.array_equal(given["order1"] + 1, np.array(values["order1"], dtype=int))
    assert given["entanglement"] == pytest.approx(float(values["given"][0]), abs=1e-12)
    assert result.tanglegram()["entanglement"] <= float(values["step2side"][0]) + 1e-12
