# Bk with its null moments, the correlations against dendextend, and the
# information measures against their definitions on R's own cuts.
test_that("Bk, its expectation and variance and the correlations equal dendextend's", {
  peer_package("dendextend")
  d <- dist(USArrests)
  h1 <- hclust(d, "average")
  h2 <- hclust(d, "complete")
  result <- compare(h1, h2)
  curve <- bk(result, sd = 1.5)
  for (k in 2:10) {
    fm <- dendextend::FM_index(stats::cutree(h1, k), stats::cutree(h2, k), include_EV = TRUE)
    row <- curve[curve$k == k, ]
    expect_equal(row$bk, as.numeric(fm), tolerance = 1e-12, ignore_attr = TRUE)
    expect_equal(row$expected, attr(fm, "E_FM"), tolerance = 1e-12)
    expect_equal(row$variance, attr(fm, "V_FM"), tolerance = 1e-12)
    expect_equal(row$upper - row$expected, 1.5 * sqrt(row$variance), tolerance = 1e-12)
  }
  d1 <- stats::as.dendrogram(h1)
  d2 <- stats::as.dendrogram(h2)
  expect_equal(cophenetic_correlation(result), dendextend::cor_cophenetic(d1, d2), tolerance = 1e-6)
  expect_equal(cophenetic_correlation(result, "spearman"), dendextend::cor_cophenetic(d1, d2, method = "spearman"),
               tolerance = 1e-12)
  expect_equal(bakers_gamma(result), dendextend::cor_bakers_gamma(d1, d2), tolerance = 1e-12)
})

test_that("variation of information and NMI follow their definitions at every level pair", {
  d <- dist(USArrests)
  h1 <- hclust(d, "average")
  h2 <- hclust(d, "ward.D2")
  result <- compare(h1, h2)
  entropy <- function(counts) { p <- counts[counts > 0] / sum(counts); -sum(p * log(p)) }
  for (k in c(1, 10, 30)) {
    for (l in c(2, 20, 45)) {
      u <- stats::cutree(h1, result$clusters1[k])
      v <- stats::cutree(h2, result$clusters2[l])
      hu <- entropy(table(u))
      hv <- entropy(table(v))
      mutual <- hu + hv - entropy(table(u, v))
      expect_equal(result$tables$variation_of_information[k, l], hu + hv - 2 * mutual, tolerance = 1e-12)
      expect_equal(result$tables$nmi[k, l], mutual / ((hu + hv) / 2), tolerance = 1e-12)
    }
  }
  expect_null(compare(h1, h2, exact = FALSE)$tables$nmi)
})

test_that("a restored result says it must be compared again", {
  d <- dist(USArrests)
  result <- compare(hclust(d, "average"), hclust(d, "complete"))
  path <- tempfile(fileext = ".rds")
  saveRDS(result, path)
  expect_error(bk(readRDS(path)), "compare the dendrograms again", class = "dendrocompare_input_error")
  expect_error(bakers_gamma(list()), "takes the result of compare", class = "dendrocompare_input_error")
})
