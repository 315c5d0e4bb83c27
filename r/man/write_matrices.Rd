\name{write_matrices}
\alias{write_matrices}
\title{Write MATRICES.DAT}
\description{
Writes the five single-precision tables of a comparison made with
\code{exact = FALSE} as \code{MATRICES.DAT}, byte for byte as the
dendrocompare program does, under a temporary name renamed once complete.
}
\usage{write_matrices(result, path)}
\arguments{
  \item{result}{the result of \code{compare(x, y, exact = FALSE)}.}
  \item{path}{the file to write.}
}
\value{\code{path}, invisibly. A file that cannot be written raises a
  condition of class \code{dendrocompare_output_error}.}
\examples{
h1 <- hclust(dist(iris[, 1:4]), "average")
h2 <- hclust(dist(iris[, 1:4]), "complete")
path <- file.path(tempdir(), "MATRICES.DAT")
write_matrices(compare(h1, h2, exact = FALSE), path)
file.size(path)
}
