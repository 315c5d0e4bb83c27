\name{read_dendrogram}
\alias{read_dendrogram}
\title{Read a dendrogram file}
\description{
Reads a dendrogram file in any format the command line reads and gives it
as an \code{hclust} object.
}
\usage{read_dendrogram(path, format = NULL, labels = NULL)}
\arguments{
  \item{path}{the file.}
  \item{format}{\code{"den"} (our own), \code{"npy"}, \code{"linkage"},
    \code{"hclust"} (R's \code{write.csv} of merge and height),
    \code{"newick"}, or \code{NULL} to tell from the extension and content.}
  \item{labels}{Newick leaf labels in object order, which also become the
    result's labels; without them a Newick tree's objects follow its leaves.}
}
\value{An \code{hclust} object. A file that cannot be read or is no
  dendrogram raises a \code{dendrocompare_input_error} naming the file, the
  line and the fault.}
\examples{
h <- hclust(dist(USArrests), "average")
path <- file.path(tempdir(), "average.csv")
write.csv(data.frame(h$merge, h$height), path)
back <- read_dendrogram(path)
all.equal(back$merge, h$merge)
}
