# Each bad input is a classed condition with the command line's words, and R goes on.

expect_input_error <- function(expr, pattern) {
  expect_error(expr, pattern, class = "dendrocompare_input_error")
}

test_that("objects that cannot be paired are refused with the labels named", {
  trees <- usarrests_trees()
  other <- trees$complete
  other$labels[1] <- "Atlantis"
  expect_input_error(compare(trees$average, other), "'Atlantis' in y only")
  expect_input_error(compare(trees$average, other), "'Alabama' in x only")
  unlabelled <- trees$complete
  unlabelled$labels <- NULL
  expect_input_error(compare(trees$average, unlabelled), "x has labels and y has none")
  expect_input_error(compare(trees$average, chain_linkage(50)), "x has labels and y has none")
  repeated <- trees$complete
  repeated$labels[2] <- repeated$labels[1]
  expect_input_error(compare(repeated, repeated), "'Alabama' occur more than once")
})

test_that("a Newick file with labels beside an input without any is refused in the command line's words", {
  peer_package("ape")
  dir <- scratch_dir()
  newick <- file.path(dir, "complete.nwk")
  ape::write.tree(ape::as.phylo(usarrests_trees()$complete), newick)
  unlabelled <- usarrests_trees()$average
  unlabelled$labels <- NULL
  how <- "as its labels ($labels, or read_dendrogram(path, labels = ...) for a file)"
  message <- function(expr) tryCatch(expr, dendrocompare_input_error = conditionMessage)
  expect_identical(message(compare(newick, unlabelled)),
                   paste0(newick, " has labels and y has none, so their objects cannot be paired: give the ",
                          "labels of y's objects in their order ", how))
  expect_identical(message(compare(chain_linkage(50), newick)),
                   paste0(newick, " has labels and x has none, so their objects cannot be paired: give the ",
                          "labels of x's objects in their order ", how))
  csv <- write_hclust_csv(unlabelled, file.path(dir, "average.csv"))
  cli <- suppressWarnings(system2(cli_path(), c("-q", newick, csv), stdout = TRUE, stderr = TRUE))[1]
  expect_identical(message(compare(newick, csv)),
                   sub("with --labels FILE, one a line", how, sub("^dendrocompare-cli: ", "", cli), fixed = TRUE))
  labelled <- read_dendrogram(csv, labels = rownames(USArrests))
  expect_s3_class(compare(newick, labelled), "dendrocompare")
})

test_that("bad dendrograms give the readers' messages", {
  trees <- usarrests_trees()
  broken <- trees$complete
  broken$merge[49, 1] <- broken$merge[49, 2]
  expect_input_error(compare(trees$average, broken), "^y")
  expect_input_error(compare(trees$average, "/no/such/file.den"), "/no/such/file.den")
  garbage <- file.path(scratch_dir(), "garbage.den")
  writeLines(c("3", "1 2 oops"), garbage)
  expect_input_error(compare(garbage, garbage), "garbage.den")
  expect_input_error(compare(trees$average, list(1, 2)), "a dendrogram is an hclust")
  expect_input_error(compare(trees$average, hclust(dist(iris[1:10, 1:4]))), "the labels differ")
})

test_that("phylo trees without lengths, not ultrametric or not binary are refused", {
  peer_package("ape")
  expect_input_error(compare(ape::read.tree(text = "((a,b),c);"), ape::read.tree(text = "((a,b),c);")),
                     "no branch lengths")
  expect_input_error(compare(ape::read.tree(text = "((a:1,b:2):1,c:2);"), ape::read.tree(text = "((a:1,b:1):1,c:2);")),
                     "not ultrametric")
  expect_input_error(compare(ape::read.tree(text = "(a:1,b:1,c:1);"), ape::read.tree(text = "(a:1,b:1,c:1);")),
                     "not binary")
})

test_that("bad arguments are refused, and R goes on", {
  trees <- usarrests_trees()
  expect_input_error(compare(trees$average, trees$complete, max_clusters = 0), "max_clusters must be")
  expect_input_error(compare(trees$average, trees$complete, threads = 1.5), "threads must be")
  expect_input_error(compare(trees$average, trees$complete, exact = FALSE, max_clusters = 3), "only an exact")
  expect_input_error(write_matrices(compare(trees$average, trees$complete), tempfile()), "exact = FALSE")
  single <- compare(trees$average, trees$complete, exact = FALSE)
  expect_error(write_matrices(single, "/no/such/dir/MATRICES.DAT"), "/no/such/dir",
               class = "dendrocompare_output_error")
  expect_s3_class(compare(trees$average, trees$complete), "dendrocompare")
})

test_that("a failing progress function stops the comparison with its message", {
  trees <- usarrests_trees()
  expect_error(compare(trees$average, trees$complete, progress = function(done, total) stop("enough")),
               "the progress function failed: .*enough")
  seen <- 0
  compare(trees$average, trees$complete, progress = function(done, total) seen <<- max(seen, done / total))
  expect_equal(seen, 1)
})
