test_that("as.data.frame has one row per level pair, rows of x outer", {
  trees <- usarrests_trees()
  result <- compare(trees$average, trees$complete)
  frame <- as.data.frame(result)
  expect_equal(nrow(frame), 48 * 48)
  expect_equal(frame$k[1:2], c(1L, 1L))
  expect_equal(frame$l[1:2], c(1L, 2L))
  expect_equal(frame$rand[2], result$tables$rand[1, 2])
  # The first level pair: both trees joined their closest two states alone.
  expect_equal(frame$jaccard[1], 0)
})

test_that("print, summary and plot show the comparison", {
  result <- compare(hclust(dist(iris[, 1:4]), "average"), hclust(dist(iris[, 1:4]), "complete"))
  expect_output(print(result), "150 objects")
  expect_output(print(summary(result)), "Range of each measure")
  grDevices::pdf(NULL)
  on.exit(grDevices::dev.off())
  expect_invisible(plot(result, which = "rand"))
  expect_error(plot(result, which = "nonsense"))
})
