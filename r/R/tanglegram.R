# The two trees face to face, their nodes rotated to untangle them.
tanglegram <- function(result, clusters = NULL, untangle = TRUE) {
  if (!inherits(result, "dendrocompare")) input_error("tanglegram takes the result of compare()")
  if (is.null(result$inputs)) input_error("this result keeps no trees to draw; compare the dendrograms again")
  if (!is.logical(untangle) || length(untangle) != 1 || is.na(untangle)) input_error("untangle must be TRUE or FALSE")
  clusters <- whole_number_or_null(clusters, "clusters", "the level pair most alike")
  t <- engine_result(.Call(dc_tanglegram, result$inputs[[1]], result$inputs[[2]], clusters, untangle))
  t$labels <- if (is.null(result$labels)) as.character(seq_along(t$order1)) else result$labels
  structure(t, class = "dendrocompare_tanglegram")
}

print.dendrocompare_tanglegram <- function(x, ...) {
  cat(sprintf("tanglegram of %d objects: entanglement %.4f (%.4f as given); %d and %d clusters, %d moved\n",
              length(x$order1), x$entanglement, x$given_entanglement, x$clusters1, x$clusters2, sum(x$moved)))
  invisible(x)
}

tangle_palette <- c("#1f77b4", "#ff7f0e", "#2ca02c", "#d62728", "#9467bd",
                    "#8c564b", "#e377c2", "#7f7f7f", "#bcbd22", "#17becf")

# A tree's elbows, leaves at the positions given (1 at the top), its
# heights mapped to x by x_of.
draw_tree_elbows <- function(tree, position, x_of, col) {
  n <- length(position)
  node_y <- numeric(nrow(tree$merge))
  y_of <- function(id) if (id < 0) n + 1 - position[-id] else node_y[id]
  h_of <- function(id) if (id < 0) 0 else tree$height[id]
  for (step in seq_len(nrow(tree$merge))) {
    a <- tree$merge[step, 1]
    b <- tree$merge[step, 2]
    x <- x_of(tree$height[step])
    segments(c(x_of(h_of(a)), x_of(h_of(b)), x), c(y_of(a), y_of(b), y_of(a)), c(x, x, x), c(y_of(a), y_of(b), y_of(b)),
             col = col)
    node_y[step] <- (y_of(a) + y_of(b)) / 2
  }
}

# Dendrogram 1 on the left, dendrogram 2 on the right, heights growing
# outward; each object's line in the colour of its cluster of dendrogram 1,
# bold where it moved. Labels only while they fit.
plot.dendrocompare_tanglegram <- function(x, main = NULL, labels = x$labels, ...) {
  n <- length(x$order1)
  position1 <- integer(n)
  position1[x$order1] <- seq_len(n)
  position2 <- integer(n)
  position2[x$order2] <- seq_len(n)
  graphics::plot.new()
  graphics::plot.window(xlim = c(0, 1), ylim = c(0.5, n + 0.5), ...)
  graphics::title(main = if (is.null(main))
    sprintf("Tanglegram: entanglement %.4f (%.4f as given)", x$entanglement, x$given_entanglement) else main)
  cex <- min(0.8, 0.9 * graphics::par("pin")[2] / n / graphics::strheight("M", units = "inches", cex = 1))
  labelled <- cex >= 0.3
  label_width <- if (labelled) min(0.2, max(graphics::strwidth(labels, cex = cex)) + 0.01) else 0
  lines <- 0.16
  width <- (1 - 2 * label_width - lines) / 2
  top1 <- max(x$tree1$height, 0)
  top2 <- max(x$tree2$height, 0)
  draw_tree_elbows(x$tree1, position1, function(h) width * (1 - if (top1 > 0) h / top1 else 0), "grey25")
  draw_tree_elbows(x$tree2, position2, function(h) 1 - width * (1 - if (top2 > 0) h / top2 else 0), "grey25")
  colour <- tangle_palette[(x$cluster1 - 1) %% length(tangle_palette) + 1]
  light <- grDevices::adjustcolor(colour, alpha.f = 0.35)
  kept <- !x$moved
  y1 <- n + 1 - position1
  y2 <- n + 1 - position2
  left <- width + label_width
  right <- 1 - width - label_width
  if (any(kept)) segments(left, y1[kept], right, y2[kept], col = light[kept], lwd = 1)
  if (any(!kept)) segments(left, y1[!kept], right, y2[!kept], col = colour[!kept], lwd = 2.5)
  if (labelled) {
    graphics::text(left - 0.005, y1, labels, adj = c(1, 0.5), cex = cex)
    graphics::text(right + 0.005, y2, labels, adj = c(0, 0.5), cex = cex)
  }
  invisible(x)
}
