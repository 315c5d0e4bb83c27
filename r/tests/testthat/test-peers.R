# Every value against a peer: the command line's exact TSV, mclust's
# adjusted Rand index, dendextend's Fowlkes-Mallows index, and the
# command line's own single-precision tables and MATRICES.DAT.

test_that("exact tables equal the command line's --exact TSV at every level pair", {
  trees <- usarrests_trees()
  dir <- scratch_dir()
  run_cli("-q", "--no-matrices", "--exact", "--tsv", file.path(dir, "pairs.tsv"),
          write_hclust_csv(trees$average, file.path(dir, "a.csv")),
          write_hclust_csv(trees$complete, file.path(dir, "c.csv")))
  expected <- utils::read.delim(file.path(dir, "pairs.tsv"))
  got <- as.data.frame(compare(trees$average, trees$complete))
  expect_equal(nrow(got), nrow(expected))
  expect_equal(got[, c("k", "l", "clusters1", "clusters2")], expected[, c("k", "l", "clusters1", "clusters2")],
               ignore_attr = TRUE)
  expect_equal(got$height1, expected$height1, tolerance = 1e-6)
  for (measure in measures()) expect_equal(got[[measure]], expected[[measure]], tolerance = 1e-12, label = measure)
})

test_that("adjusted Rand and Fowlkes-Mallows at matched numbers of clusters equal mclust and dendextend", {
  peer_package("mclust")
  peer_package("dendextend")
  for (data in list(USArrests, iris[, 1:4])) {
    d <- dist(data)
    h1 <- hclust(d, "average")
    h2 <- hclust(d, "ward.D2")
    result <- compare(h1, h2)
    shared <- intersect(result$clusters1, result$clusters2)
    shared <- shared[shared >= 2]
    expect_gt(length(shared), 10)
    for (k in shared) {
      cell <- cbind(match(k, result$clusters1), match(k, result$clusters2))
      parts1 <- stats::cutree(h1, k)
      parts2 <- stats::cutree(h2, k)
      expect_equal(1 - result$tables$adjusted_rand[cell], mclust::adjustedRandIndex(parts1, parts2),
                   tolerance = 1e-12)
      expect_equal(result$tables$fowlkes_mallows[cell], as.numeric(dendextend::FM_index(parts1, parts2)),
                   tolerance = 1e-12)
    }
  }
})

test_that("exact = FALSE gives the command line's float32 tables bit for bit and its MATRICES.DAT byte for byte", {
  trees <- usarrests_trees()
  dir <- scratch_dir()
  run_cli("-q", "--output-dir", dir, "--npy", file.path(dir, "npy"),
          write_hclust_csv(trees$average, file.path(dir, "a.csv")),
          write_hclust_csv(trees$complete, file.path(dir, "c.csv")))
  result <- compare(trees$average, trees$complete, exact = FALSE)
  for (measure in measures()[1:5]) {
    expected <- read_npy_f4(file.path(dir, "npy", paste0(measure, ".npy")))
    expect_identical(unname(result$tables[[measure]]), expected, label = measure)
  }
  write_matrices(result, file.path(dir, "ours.dat"))
  expect_identical(readBin(file.path(dir, "ours.dat"), "raw", 1e7), readBin(file.path(dir, "MATRICES.DAT"), "raw", 1e7))
})

test_that("a file path is read as the command line reads it", {
  trees <- lapply(usarrests_trees(), function(tree) {
    tree$labels <- NULL
    tree
  })
  dir <- scratch_dir()
  csv <- write_hclust_csv(trees$complete, file.path(dir, "c.csv"))
  expect_equal(compare(trees$average, csv)$tables, compare(trees$average, trees$complete)$tables)
  expect_equal(compare(csv, csv)$tables, compare(trees$complete, trees$complete)$tables)
})
