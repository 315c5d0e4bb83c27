# The forms a dendrogram comes in, and how their objects are paired.

test_that("hclust, dendrogram, phylo and Newick file forms of one tree give one result", {
  peer_package("ape")
  # Newick reads an unquoted underscore as a blank: names without blanks.
  trees <- lapply(usarrests_trees(), function(tree) {
    tree$labels <- gsub(" ", "", tree$labels)
    tree
  })
  expected <- compare(trees$average, trees$complete)
  expect_equal(compare(as.dendrogram(trees$average), trees$complete)$tables, expected$tables)
  expect_equal(compare(trees$average, ape::as.phylo(trees$complete))$tables, expected$tables)
  newick <- file.path(scratch_dir(), "complete.nwk")
  ape::write.tree(ape::as.phylo(trees$complete), newick)
  expect_equal(compare(trees$average, newick)$tables, expected$tables)
})

test_that("labels in another order give the same result", {
  d <- dist(USArrests)
  shuffled <- sample(nrow(USArrests))
  first <- hclust(d, "average")
  expected <- compare(first, hclust(d, "complete"))
  second <- hclust(dist(USArrests[shuffled, ]), "complete")
  expect_equal(compare(first, second)$tables, expected$tables)
  expect_equal(compare(second, first)$tables, lapply(expected$tables, t), ignore_attr = TRUE)
})

test_that("labels that are the object numbers pair with an unlabelled tree by number", {
  d <- dist(USArrests)
  first <- hclust(d, "average")
  second <- hclust(d, "complete")
  first$labels <- second$labels <- NULL
  expected <- compare(first, second)
  numbered <- second
  numbered$labels <- as.character(seq_len(50))
  expect_equal(compare(first, numbered)$tables, expected$tables)
  expect_equal(compare(numbered, first)$tables, lapply(expected$tables, t), ignore_attr = TRUE)
})

test_that("a scipy linkage matrix is read with 0-based ids", {
  # Objects 1, 2 join at 1, object 3 at 2, object 4 at 3; then a chain the other way.
  chain <- rbind(c(0, 1, 1, 2), c(2, 4, 2, 3), c(3, 5, 3, 4))
  other <- rbind(c(2, 3, 1, 2), c(1, 4, 2, 3), c(0, 5, 3, 4))
  result <- compare(chain, other)
  expect_equal(result$clusters1, c(3L, 2L))
  # {1,2},{3},{4} against {3,4},{1},{2}: no pair joined in both.
  expect_equal(result$tables$jaccard[1, 1], 1)
  # {1,2,3},{4} against {2,3,4},{1}: pairs 12 13 23 and 23 24 34 share 23 of 5.
  expect_equal(result$tables$jaccard[2, 2], 1 - 1 / 5)
})

test_that("max_clusters compares only the top levels", {
  trees <- usarrests_trees()
  full <- compare(trees$average, trees$complete)
  top <- compare(trees$average, trees$complete, max_clusters = 6)
  expect_true(all(top$clusters1 <= 6) && all(top$clusters2 <= 6))
  expect_equal(top$tables$rand, full$tables$rand[as.character(top$clusters1), as.character(top$clusters2)])
})
