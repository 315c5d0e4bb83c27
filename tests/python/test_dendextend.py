"""Bk, its null expectation and variance, the cophenetic correlations and
Baker's gamma against R's dendextend on the same hclust trees (Debian
r-cran-dendextend, run through Rscript). Heights reach us as 4-byte reals,
so the Pearson correlation of cophenetic heights agrees to their rounding;
everything else to 1e-12."""
import shutil
import subprocess

import numpy as np
import pytest

import dendrocompare

R_SCRIPT = r'''
suppressMessages(library(dendextend))
args <- commandArgs(TRUE)
data <- if (args[1] == "USArrests") USArrests else iris[, 1:4]
h1 <- hclust(dist(data), args[2]); h2 <- hclust(dist(data), args[3])
write.csv(data.frame(h1$merge, h1$height), file.path(args[4], "h1.csv"))
write.csv(data.frame(h2$merge, h2$height), file.path(args[4], "h2.csv"))
d1 <- as.dendrogram(h1); d2 <- as.dendrogram(h2)
out <- c(sprintf("pearson %.17g", cor_cophenetic(d1, d2)),
         sprintf("spearman %.17g", cor_cophenetic(d1, d2, method = "spearman")),
         sprintf("gamma %.17g", cor_bakers_gamma(d1, d2)))
for (k in 2:12) {
  fm <- FM_index(cutree(h1, k), cutree(h2, k), include_EV = TRUE)
  out <- c(out, sprintf("bk %d %.17g %.17g %.17g", k, fm[1], attr(fm, "E_FM"), attr(fm, "V_FM")))
}
writeLines(out)
'''


def dendextend_values(data, method1, method2, tmp_path):
    rscript = shutil.which("Rscript")
    assert rscript, "Rscript is missing: scripts/setup.sh installs r-base and r-cran-dendextend"
    lines = subprocess.run([rscript, "-e", R_SCRIPT, data, method1, method2, str(tmp_path)], check=True,
                           capture_output=True, text=True).stdout.split("\n")
    values, bk = {}, {}
    for line in filter(None, lines):
        name, *numbers = line.split()
        if name == "bk":
            bk[int(numbers[0])] = tuple(float(v) for v in numbers[1:])
        else:
            values[name] = float(numbers[0])
    return values, bk


# iris has heights that differ only beyond 4-byte reals: they form one level
# here, and so tie in our ranks where dendextend still tells them apart.
@pytest.mark.long
@pytest.mark.parametrize("data,method1,method2,rank_tolerance",
                         [("USArrests", "average", "complete", 1e-12), ("USArrests", "single", "ward.D2", 1e-12),
                          ("iris", "average", "complete", 1e-5)])
def test_bk_and_correlations_equal_dendextends(data, method1, method2, rank_tolerance, tmp_path):
    values, bk = dendextend_values(data, method1, method2, tmp_path)
    comparison = dendrocompare.compare(tmp_path / "h1.csv", tmp_path / "h2.csv")
    assert comparison.cophenetic_correlation() == pytest.approx(values["pearson"], abs=1e-6)
    assert comparison.cophenetic_correlation("spearman") == pytest.approx(values["spearman"], abs=rank_tolerance)
    assert comparison.bakers_gamma == pytest.approx(values["gamma"], abs=rank_tolerance)
    ours = {int(r["k"]): r for r in comparison.bk()}
    compared = 0
    for k, (fm, expected, variance) in bk.items():
        if k not in ours:
            continue  # a k that one tree skips: cutree cannot make it either
        assert ours[k]["bk"] == pytest.approx(fm, abs=1e-12), k
        assert ours[k]["expected"] == pytest.approx(expected, abs=1e-12), k
        assert ours[k]["variance"] == pytest.approx(variance, abs=1e-12), k
        compared += 1
    assert compared >= 8
