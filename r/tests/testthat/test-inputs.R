# The forms a dendrogram comes in, and how their objects are paired.

test_that("hclust, dendrogram, phylo and Newick file forms of one tree give one result", {
  peer_package("ape")
  # ape writes New York as New_York, whose unquoted underscore Newick reads as a blank.
  trees <- usarrests_trees()
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

test_that("a Newick file whose leaves are the object numbers pairs by number with an unlabelled tree", {
  peer_package("ape")
  d <- dist(USArrests)
  first <- hclust(d, "average")
  second <- hclust(d, "complete")
  first$labels <- second$labels <- NULL
  expected <- compare(first, second)
  newick <- file.path(scratch_dir(), "numbered.nwk")
  ape::write.tree(ape::as.phylo(second), newick)  # tips "1" to "50"
  expect_equal(compare(first, newick)$tables, expected$tables)
  expect_equal(compare(newick, first)$tables, lapply(expected$tables, t), ignore_attr = TRUE)
})

test_that("a dendrogram of a single level leaves nothing to compare", {
  five <- hclust(dist(c(1, 2, 4, 8, 16)))
  flat <- five
  flat$height <- rep(1, 4)
  expect_error(compare(five, flat), "^dendrogram y has a single level; there is nothing to compare$",
               class = "dendrocompare_input_error")
  expect_error(compare(flat, flat), "^dendrogram x has a single level", class = "dendrocompare_input_error")
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
