measures <- function() {
  c("jaccard", "rand", "euclidean", "sorensen", "adjusted_rand", "fowlkes_mallows")
}

whole_number_or_null <- function(value, what, null_means = "every level") {
  if (is.null(value)) return(0L)
  if (!is.numeric(value) || length(value) != 1 || is.na(value) || value < 1 || value != round(value))
    stop(dendrocompare_condition("input", sprintf("%s must be a positive whole number, or NULL for %s", what,
                                                  null_means), sys.call(-1)))
  as.integer(value)
}

compare <- function(x, y, exact = TRUE, max_clusters = NULL, threads = NULL, progress = interactive()) {
  if (!is.logical(exact) || length(exact) != 1 || is.na(exact))
    input_error("exact must be TRUE or FALSE")
  if (!is.function(progress) && !(is.logical(progress) && length(progress) == 1 && !is.na(progress)))
    input_error("progress must be TRUE, FALSE or a function(done, total)")
  max_clusters <- whole_number_or_null(max_clusters, "max_clusters")
  threads <- whole_number_or_null(threads, "threads", "as many as the hardware offers")
  if (max_clusters > 0 && !exact)
    input_error("max_clusters compares the top levels alone, which only an exact comparison does: leave exact = TRUE")
  pair <- prepare_pair(x, y)
  raw <- engine_result(.Call(dc_compare, pair[[1]], pair[[2]], exact, max_clusters, threads, progress,
                             environment()))
  as_comparison(raw, exact, pair[[1]]$labels, pair)
}

as_comparison <- function(raw, exact, labels, inputs = NULL) {
  structure(list(
    tables = raw$tables,
    clusters1 = raw$clusters1, clusters2 = raw$clusters2,
    heights1 = raw$heights1, heights2 = raw$heights2,
    levels = raw$levels, base_level = raw$base_level,
    object_count = raw$object_count,
    minima = as.data.frame(raw$minima, stringsAsFactors = FALSE),
    exact = exact,
    labels = labels,
    matrices = raw$matrices,
    inputs = inputs,
    engine = raw$engine), class = "dendrocompare")
}

write_matrices <- function(result, path) {
  if (!inherits(result, "dendrocompare")) input_error("write_matrices takes the result of compare()")
  if (is.null(result$matrices))
    input_error(paste("write_matrices needs the single-precision tables of MATRICES.DAT, which an exact",
                      "comparison does not compute: write_matrices(compare(x, y, exact = FALSE), path)"))
  engine_result(.Call(dc_write_matrices, result$tables[1:5], result$matrices, path.expand(path)))
  invisible(path)
}

# Our own records back in R's merge convention: each record joins the
# clusters named by their smallest objects, the step that made each.
read_dendrogram <- function(path, format = NULL, labels = NULL) {
  if (!is.character(path) || length(path) != 1) input_error("path must be one file name")
  records <- engine_result(.Call(dc_read_files, path.expand(path), format,
                                 if (is.null(labels)) NULL else as.character(labels)))[[1]]
  n <- records$object_count
  step_of <- integer(n)
  merge <- matrix(0L, nrow(records$records), 2)
  for (t in seq_len(nrow(records$records))) {
    joined <- records$records[t, 1:2]
    merge[t, ] <- ifelse(step_of[joined] > 0, step_of[joined], -joined)
    step_of[min(joined)] <- t
  }
  structure(list(merge = merge, height = records$heights, order = hclust_order(merge),
                 labels = if (is.null(labels)) NULL else as.character(labels), method = NULL,
                 call = match.call(), dist.method = NULL), class = "hclust")
}

# The leaves from left to right, as plot.hclust wants them.
hclust_order <- function(merge) {
  if (!nrow(merge)) return(1L)
  leaves <- function(step) {
    unlist(lapply(merge[step, ], function(m) if (m < 0) -m else leaves(m)))
  }
  leaves(nrow(merge))
}
