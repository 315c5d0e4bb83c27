# The tanglegram's orders are R's own leaf orders until untangled, its
# entanglement dendextend's, and untangling does at least as well as
# dendextend's step2side.
test_that("the trees as given are R's orders with dendextend's entanglement", {
  peer_package("dendextend")
  d <- dist(USArrests)
  h1 <- hclust(d, "single")
  h2 <- hclust(d, "ward.D2")
  result <- compare(h1, h2)
  given <- tanglegram(result, untangle = FALSE)
  expect_equal(given$order1, h1$order)
  expect_equal(given$order2, h2$order)
  d1 <- stats::as.dendrogram(h1)
  d2 <- stats::as.dendrogram(h2)
  expect_equal(given$entanglement, dendextend::entanglement(d1, d2), tolerance = 1e-12)
  untangled <- tanglegram(result)
  expect_equal(untangled$given_entanglement, given$entanglement)
  best <- dendextend::untangle(d1, d2, method = "step2side")
  expect_lte(untangled$entanglement, dendextend::entanglement(best[[1]], best[[2]]) + 1e-12)
})

test_that("the colour level and the moved objects follow the clusters", {
  d <- dist(USArrests)
  result <- compare(hclust(d, "average"), hclust(d, "complete"))
  t <- tanglegram(result, clusters = 4)
  expect_equal(t$clusters1, 4)
  expect_equal(length(unique(t$cluster1)), 4)
  cells <- table(t$cluster1, t$cluster2)
  for (x in seq_along(t$moved)) {
    n <- cells[t$cluster1[x], t$cluster2[x]]
    expect_equal(t$moved[x], n != max(cells[t$cluster1[x], ]) || n != max(cells[, t$cluster2[x]]))
  }
  expect_error(tanglegram(result, clusters = 0), "clusters must be a positive whole number",
               class = "dendrocompare_input_error")
})

test_that("plot draws the tanglegram", {
  d <- dist(USArrests)
  result <- compare(hclust(d, "single"), hclust(d, "ward.D2"))
  path <- tempfile(fileext = ".pdf")
  grDevices::pdf(path)
  expect_invisible(plot(result, which = "tanglegram", clusters = 3))
  # Identical trees: no object moves, and nothing is drawn bold.
  same <- compare(hclust(d, "average"), hclust(d, "average"))
  expect_false(any(tanglegram(same)$moved))
  expect_invisible(plot(same, which = "tanglegram"))
  grDevices::dev.off()
  expect_gt(file.size(path), 1000)
})
