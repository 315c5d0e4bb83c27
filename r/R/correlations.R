# What the comparison gives beyond its tables, from the engine's own
# comparison, which the result keeps.
engine_of <- function(result) {
  if (!inherits(result, "dendrocompare")) input_error("this takes the result of compare()", sys.call(-2))
  result$engine
}

bk <- function(result, sd = 2) {
  if (!is.numeric(sd) || length(sd) != 1 || is.na(sd) || sd < 0) input_error("sd must be a number of at least 0")
  as.data.frame(engine_result(.Call(dc_bk, engine_of(result), as.numeric(sd))))
}

cophenetic_correlation <- function(result, method = c("pearson", "spearman")) {
  method <- match.arg(method)
  engine_result(.Call(dc_correlations, engine_of(result)))[[method]]
}

bakers_gamma <- function(result) {
  engine_result(.Call(dc_correlations, engine_of(result)))[["bakers_gamma"]]
}

# Bk against k, the expectation dashed and the band shaded, as the command
# line's --plot --measure bk draws it.
plot_bk <- function(curve, main = NULL) {
  if (!nrow(curve)) input_error("no number of clusters is in both dendrograms")
  graphics::plot(curve$k, curve$bk, type = "n", ylim = range(0, 1, curve$lower, curve$upper),
                 xlab = "k, clusters in both dendrograms", ylab = "Bk",
                 main = if (is.null(main)) "Fowlkes-Mallows Bk with its expectation and band" else main)
  graphics::polygon(c(curve$k, rev(curve$k)), c(curve$upper, rev(curve$lower)),
                    col = grDevices::adjustcolor("#d55e00", alpha.f = 0.25), border = NA)
  graphics::lines(curve$k, curve$expected, lty = 2, col = "#d55e00")
  graphics::lines(curve$k, curve$bk, lwd = 2, col = "#0072b2")
  invisible(curve)
}
