#!/usr/bin/env Rscript
# The R package's overhead over the engine alone:
#
#   scripts/r-package.sh && cmake --build build --target r_overhead_engine
#   Rscript bench/r_overhead.R [build dir, default build] [N, default 2000] [rounds, default 7]
#
# Two hclust trees of N random points (ward.D2 and average) and, round by
# round in turn so that both see the same load: compare(h1, h2) as a user
# calls it (the pairing by labels, the conversion, the exact comparison
# with the interrupt watch, six R matrices and the minima), and the engine
# alone on the same trees (written as the command line's hclust CSV) in a
# C++ process of its own, timed inside it: run_comparison, the six tables
# and the minima. Prints every round, the medians and the ratios of wall and
# CPU time; the CPU time is the steadier one on a shared machine.
args <- commandArgs(trailingOnly = TRUE)
build <- normalizePath(if (length(args) >= 1) args[1] else "build")
n <- if (length(args) >= 2) as.integer(args[2]) else 2000L
rounds <- if (length(args) >= 3) as.integer(args[3]) else 7L
library(dendrocompare, lib.loc = file.path(build, "r", "library"))

set.seed(2024)
points <- matrix(rnorm(n * 4), n)
d <- dist(points)
h1 <- hclust(d, "ward.D2")
h2 <- hclust(d, "average")
dir <- tempfile()
dir.create(dir)
paths <- file.path(dir, c("first.csv", "second.csv"))
write.csv(data.frame(h1$merge, h1$height), paths[1])
write.csv(data.frame(h2$merge, h2$height), paths[2])
engine <- file.path(build, "bench", "r_overhead_engine")

cpu <- function() sum(proc.time()[c("user.self", "sys.self")])
times <- list(package = matrix(0, rounds, 2), engine = matrix(0, rounds, 2))
cat(sprintf("N = %d, %d rounds; seconds per comparison, wall / cpu\n", n, rounds))
for (r in seq_len(rounds)) {
  gc()
  cpu_start <- cpu()
  wall_start <- Sys.time()
  result <- compare(h1, h2, progress = FALSE)
  times$package[r, ] <- c(as.numeric(Sys.time() - wall_start, units = "secs"), cpu() - cpu_start)
  line <- strsplit(system2(engine, paths, stdout = TRUE), " ")[[1]]
  times$engine[r, ] <- as.numeric(line[1:2])
  stopifnot(as.integer(line[3:4]) == result$levels)
  cat(sprintf("%6d  package %8.4f / %8.4f   engine %8.4f / %8.4f\n", r, times$package[r, 1], times$package[r, 2],
              times$engine[r, 1], times$engine[r, 2]))
}
medians <- lapply(times, function(t) apply(t, 2, median))
cat(sprintf("median  package %8.4f / %8.4f   engine %8.4f / %8.4f\n", medians$package[1], medians$package[2],
            medians$engine[1], medians$engine[2]))
for (i in 1:2) {
  ratio <- medians$package[i] / medians$engine[i]
  cat(sprintf("%4s ratio package / engine = %.4f (overhead %+.2f%%)\n", c("wall", "cpu")[i], ratio, 100 * (ratio - 1)))
}
