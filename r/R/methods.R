measure_titles <- c(jaccard = "1 - Jaccard", rand = "1 - Rand", euclidean = "Euclidean",
                    sorensen = "1 - Sorensen", adjusted_rand = "1 - adjusted Rand",
                    fowlkes_mallows = "Fowlkes-Mallows", variation_of_information = "Variation of information",
                    nmi = "Normalized mutual information")
# The indices, where larger is more alike; the others are dissimilarities.
similarities <- c("fowlkes_mallows", "nmi")

print.dendrocompare <- function(x, ...) {
  cat(sprintf("dendrocompare: %s objects, %d x %d compared levels of %d x %d, %s\n",
              format(x$object_count), length(x$clusters1), length(x$clusters2), x$levels[1], x$levels[2],
              if (x$exact) "exact values" else "single precision (MATRICES.DAT)"))
  cat("Smallest values and the numbers of clusters where they first occur:\n")
  print(x$minima, row.names = FALSE, digits = 8)
  invisible(x)
}

summary.dendrocompare <- function(object, ...) {
  ranges <- t(vapply(object$tables, function(table)
    if (length(table)) range(table, na.rm = TRUE) else c(NA_real_, NA_real_), numeric(2)))
  colnames(ranges) <- c("smallest", "largest")
  structure(list(object_count = object$object_count, levels = object$levels,
                 compared = c(length(object$clusters1), length(object$clusters2)),
                 exact = object$exact, minima = object$minima,
                 ranges = data.frame(measure = rownames(ranges), ranges, row.names = NULL)),
            class = "summary.dendrocompare")
}

print.summary.dendrocompare <- function(x, ...) {
  cat(sprintf("%s objects; levels %d and %d; %d x %d level pairs compared (%s)\n", format(x$object_count),
              x$levels[1], x$levels[2], x$compared[1], x$compared[2], if (x$exact) "exact" else "single precision"))
  cat("\nMinima (first level pair in row order):\n")
  print(x$minima, row.names = FALSE, digits = 8)
  cat("\nRange of each measure:\n")
  print(x$ranges, row.names = FALSE, digits = 8)
  invisible(x)
}

# One row per level pair, rows of the first dendrogram outer, as the
# command line's --tsv writes them.
as.data.frame.dendrocompare <- function(x, row.names = NULL, optional = FALSE, ...) {
  rows <- length(x$clusters1)
  columns <- length(x$clusters2)
  k <- rep(seq_len(rows), each = columns)
  l <- rep(seq_len(columns), times = rows)
  frame <- data.frame(k = x$base_level[1] + k - 1L, l = x$base_level[2] + l - 1L,
                      clusters1 = x$clusters1[k], clusters2 = x$clusters2[l],
                      height1 = x$heights1[k], height2 = x$heights2[l])
  for (name in names(x$tables)) frame[[name]] <- as.vector(t(x$tables[[name]]))
  if (!is.null(row.names)) rownames(frame) <- row.names
  frame
}

# A heat map: columns the second dendrogram's levels across, rows the
# first's upwards, both labelled by their numbers of clusters; viridis from
# the lowest value to the highest, the minimum ringed.
plot.dendrocompare <- function(x, which = "adjusted_rand", main = NULL,
                               xlab = "clusters of y", ylab = "clusters of x", ...) {
  which <- match.arg(which, c(measures(), "variation_of_information", "nmi", "bk", "tanglegram"))
  if (which == "tanglegram") return(invisible(plot(tanglegram(x, ...), main = main)))
  if (which == "bk") return(invisible(plot_bk(bk(x, ...), main = main)))
  table <- x$tables[[which]]
  if (is.null(table)) input_error(sprintf("%s comes from exact comparisons: compare(x, y, exact = TRUE)", which))
  if (!length(table)) input_error("there is no level pair to draw")
  rows <- seq_len(nrow(table))
  columns <- seq_len(ncol(table))
  image(columns, rows, t(table), col = hcl.colors(256, "viridis"), axes = FALSE,
        xlab = xlab, ylab = ylab, main = if (is.null(main)) measure_titles[[which]] else main, ...)
  ticks <- function(n) unique(round(seq(1, n, length.out = min(n, 10))))
  axis(1, at = ticks(ncol(table)), labels = x$clusters2[ticks(ncol(table))])
  axis(2, at = ticks(nrow(table)), labels = x$clusters1[ticks(nrow(table))], las = 1)
  box()
  best <- if (which %in% similarities) which(table == max(table, na.rm = TRUE), arr.ind = TRUE)
          else which(table == min(table, na.rm = TRUE), arr.ind = TRUE)
  best <- best[order(best[, 1], best[, 2]), , drop = FALSE][1, ]
  points(best[2], best[1], pch = 1, cex = 2.5, lwd = 2, col = "red")
  invisible(x)
}
