\name{plot.dendrocompare}
\alias{plot.dendrocompare}
\alias{print.dendrocompare}
\alias{summary.dendrocompare}
\alias{print.summary.dendrocompare}
\alias{as.data.frame.dendrocompare}
\title{Show a comparison of two dendrograms}
\description{
\code{print} and \code{summary} report each measure's smallest value with
its numbers of clusters (and the measures' ranges); \code{as.data.frame}
gives one row per level pair in long form, as the command line's
\code{--tsv} does; \code{plot} draws one measure's table as a heat map.
}
\usage{
\method{print}{dendrocompare}(x, ...)
\method{summary}{dendrocompare}(object, ...)
\method{print}{summary.dendrocompare}(x, ...)
\method{as.data.frame}{dendrocompare}(x, row.names = NULL, optional = FALSE, ...)
\method{plot}{dendrocompare}(x, which = "adjusted_rand", main = NULL,
     xlab = "clusters of y", ylab = "clusters of x", ...)
}
\arguments{
  \item{x, object}{the result of \code{\link{compare}}.}
  \item{row.names}{row names for the data frame, or \code{NULL}.}
  \item{optional}{ignored.}
  \item{which}{the measure to draw, one of \code{measures()}, or
    \code{"tanglegram"}: the two trees face to face (see \code{\link{tanglegram}},
    which takes the \code{...}).}
  \item{main, xlab, ylab}{the title and axis labels.}
  \item{...}{passed to \code{image} by \code{plot}; ignored otherwise.}
}
\details{
The data frame has columns \code{k} and \code{l} (the levels), \code{clusters1},
\code{clusters2}, \code{height1}, \code{height2} and one per measure; rows of
\code{x} outer. The heat map has the levels of \code{y} across and those of
\code{x} upwards, labelled by their numbers of clusters, viridis from the
lowest value to the highest, with the minimum (for Fowlkes-Mallows the
maximum) ringed.
}
\value{\code{as.data.frame} a data frame, \code{summary} an object of class
  \code{"summary.dendrocompare"}; the others \code{x}, invisibly.}
\examples{
d <- dist(USArrests)
result <- compare(hclust(d, "average"), hclust(d, "complete"))
summary(result)
head(as.data.frame(result))
plot(result, which = "adjusted_rand")
plot(result, which = "tanglegram", clusters = 4)
}
