\name{tanglegram}
\alias{tanglegram}
\alias{print.dendrocompare_tanglegram}
\alias{plot.dendrocompare_tanglegram}
\title{The two dendrograms face to face, untangled}
\description{
Lays out the two trees of a comparison for a tanglegram: each tree's leaf
order, with its nodes rotated (which changes no partition) to lower the
entanglement, one tree against the other, while any single rotation lowers
it; the entanglement before and after; and the clusters of one level pair,
which colour the lines joining each object's two leaves.
}
\usage{
tanglegram(result, clusters = NULL, untangle = TRUE)
\method{print}{dendrocompare_tanglegram}(x, ...)
\method{plot}{dendrocompare_tanglegram}(x, main = NULL, labels = x$labels, ...)
}
\arguments{
  \item{result}{the result of \code{\link{compare}}.}
  \item{clusters}{colour by the first dendrogram's level with the fewest
    clusters that are at least this many, against the second's level most
    like it by adjusted Rand; \code{NULL}: the level pair where
    1 - adjusted Rand is smallest among levels of at most
    \code{ceiling(sqrt(N))} (and at most 60) clusters.}
  \item{untangle}{\code{FALSE} keeps the trees as their inputs draw them.}
  \item{x}{the result of \code{tanglegram}.}
  \item{main}{the title (default: the entanglements).}
  \item{labels}{the objects' names, in object order.}
  \item{...}{passed to \code{plot.window} by \code{plot}; ignored by \code{print}.}
}
\details{
The entanglement is dendextend's: the sum over objects of
\code{abs(position1 - position2)^1.5}, divided by its value for two reversed
orders; 0 for equal orders, 1 at worst. An object has moved when its
cluster in one tree and its cluster in the other do not hold the most of
each other; its line is drawn bold.
}
\value{\code{tanglegram}: a list of class \code{"dendrocompare_tanglegram"}
  with \code{order1}, \code{order2} (the objects from top to bottom),
  \code{entanglement}, \code{given_entanglement}, \code{clusters1},
  \code{clusters2}, \code{cluster1}, \code{cluster2} (each object's cluster,
  numbered from the top of each drawing), \code{moved} (logical),
  \code{tree1}, \code{tree2} (\code{merge}, \code{height} and \code{order} as
  drawn) and \code{labels}. \code{print} and \code{plot} return \code{x}
  invisibly.}
\examples{
d <- dist(USArrests)
result <- compare(hclust(d, "single"), hclust(d, "ward.D2"))
t <- tanglegram(result)
t
plot(t)
}
