\name{bk}
\alias{bk}
\alias{cophenetic_correlation}
\alias{bakers_gamma}
\title{The Fowlkes-Mallows curve and the trees' correlations}
\description{
\code{bk} gives the Fowlkes-Mallows index Bk for every number of clusters k
that both dendrograms have among their compared levels, with its
expectation and variance under random partitions of the same cluster sizes
(Fowlkes and Mallows, 1983) and the band \code{sd} standard deviations
about the expectation. \code{cophenetic_correlation} is the correlation
over all object pairs of the heights at which the two trees join them;
\code{bakers_gamma} the Spearman correlation of the largest numbers of
clusters at which each tree still holds a pair together.
}
\usage{
bk(result, sd = 2)
cophenetic_correlation(result, method = c("pearson", "spearman"))
bakers_gamma(result)
}
\arguments{
  \item{result}{the result of \code{\link{compare}}, in this session (a
    result saved and restored no longer holds its comparison).}
  \item{sd}{the band's width in standard deviations.}
  \item{method}{\code{"pearson"} or \code{"spearman"} (tied pairs share
    their mean rank).}
}
\details{
A k that one tree skips, because several merges share a height, is left
out of the curve. The correlations take every level of both trees, not
only the compared ones; the heights are those of the comparison, 4-byte
reals.
}
\value{\code{bk}: a data frame with columns \code{k}, \code{bk},
  \code{expected}, \code{variance}, \code{lower} and \code{upper}; the
  others a number.}
\examples{
d <- dist(USArrests)
result <- compare(hclust(d, "average"), hclust(d, "complete"))
head(bk(result))
cophenetic_correlation(result)
bakers_gamma(result)
plot(result, which = "bk")
}
