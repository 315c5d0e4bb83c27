\name{compare}
\alias{compare}
\alias{dendrocompare}
\alias{measures}
\title{Compare two dendrograms level by level}
\description{
Cuts each dendrogram at every distinct merge height (as 4-byte reals) and
compares every level of \code{x} below its top with every such level of
\code{y} by five dissimilarities (1 - Jaccard, 1 - Rand, the Euclidean
distance of the co-membership vectors, 1 - Sorensen, 1 - adjusted Rand) and
the Fowlkes-Mallows index.
}
\usage{
compare(x, y, exact = TRUE, max_clusters = NULL, threads = NULL,
        progress = interactive())
measures()
}
\arguments{
  \item{x, y}{dendrograms of the same objects: \code{hclust} objects,
    \code{dendrogram} objects, \code{phylo} trees (binary, ultrametric, with
    branch lengths), scipy linkage matrices (numeric, (N-1) x 4, 0-based
    ids), or paths to files in any format the \code{dendrocompare-cli}
    command reads. Objects are paired by their labels when both have labels
    (different sets are refused, naming the labels), by position when
    neither has any; when only one has labels they must be the object
    numbers 1 to N. A Newick file beside a labelled object takes that
    object's labels; two files are read together as the command line reads
    them.}
  \item{exact}{\code{TRUE}: double-precision values from exact pair counts,
    for any number of objects. \code{FALSE}: the single-precision tables of
    \code{MATRICES.DAT}, bit for bit (as doubles), which
    \code{\link{write_matrices}} writes.}
  \item{max_clusters}{compare only the levels with at most this many
    clusters (exact only); \code{NULL} for every level.}
  \item{threads}{threads that compute; \code{NULL} for as many as the
    hardware offers. The values do not depend on it.}
  \item{progress}{\code{TRUE} shows how far the comparison has come on the
    console, \code{FALSE} shows nothing, a \code{function(done, total)} is
    called about every 50 ms; an error it raises stops the comparison.}
}
\value{
An object of class \code{"dendrocompare"}: a list with
\item{tables}{named list of matrices, one per measure of \code{measures()},
  and with \code{exact = TRUE} also \code{variation_of_information} (Meila's,
  natural logarithms) and \code{nmi} (normalized mutual information over the
  arithmetic mean of the entropies);
  row \code{i} is the \code{i}th compared level of \code{x}, column \code{j}
  that of \code{y}; row and column names are their numbers of clusters.}
\item{clusters1, clusters2}{the numbers of clusters at the compared levels.}
\item{heights1, heights2}{the merge heights that make them.}
\item{levels, base_level}{the numbers of levels, and the levels of the first
  row and column (1 unless \code{max_clusters} left lower levels out).}
\item{minima}{a data frame: each measure's smallest value and the numbers of
  clusters of the first level pair (rows outer) where it occurs.}
\item{object_count, exact, labels}{the number of objects, the precision and
  the labels of \code{x} in object order.}
Bad input raises a condition of class \code{dendrocompare_input_error}
(and \code{dendrocompare_error}, \code{error}) with the command line's
message; Ctrl+C stops the comparison with an \code{interrupt}.
}
\seealso{\code{\link{plot.dendrocompare}}, \code{\link{as.data.frame.dendrocompare}},
  \code{\link{write_matrices}}, \code{\link{read_dendrogram}}}
\examples{
d <- dist(USArrests)
result <- compare(hclust(d, "average"), hclust(d, "complete"))
result
result$tables$adjusted_rand["4", "4"]
measures()

# Labels pair the objects: rows in another order give the same tables.
shuffled <- hclust(dist(USArrests[rev(seq_len(50)), ]), "complete")
all.equal(compare(hclust(d, "average"), shuffled)$tables, result$tables)

# The single-precision tables of MATRICES.DAT.
single <- compare(hclust(dist(iris[, 1:4]), "average"),
                  hclust(dist(iris[, 1:4]), "ward.D2"), exact = FALSE)
single$minima

# Errors are conditions.
tryCatch(compare(hclust(d), hclust(dist(iris[1:50, 1:4]))),
         dendrocompare_input_error = function(e) conditionMessage(e))
}
