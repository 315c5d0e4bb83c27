# The command line is the peer of most checks. The project's test run sets
# DENDRO_CLI and DENDRO_R_STRICT, so there a missing program fails instead
# of skipping.
cli_path <- function() {
  cli <- Sys.getenv("DENDRO_CLI")
  if (nzchar(cli) && file.exists(cli)) return(cli)
  if (nzchar(Sys.getenv("DENDRO_R_STRICT"))) stop("DENDRO_CLI does not name the dendrocompare-cli program")
  skip("DENDRO_CLI is not set")
}

peer_package <- function(name) {
  if (requireNamespace(name, quietly = TRUE)) return(invisible(TRUE))
  if (nzchar(Sys.getenv("DENDRO_R_STRICT"))) stop(sprintf("the peer package %s is not installed", name))
  skip(paste(name, "is not installed"))
}

# merge and height as the README shows, read by the command line's hclust reader.
write_hclust_csv <- function(tree, path) {
  utils::write.csv(data.frame(tree$merge, tree$height), path)
  path
}

run_cli <- function(...) {
  status <- system2(cli_path(), c(...), stdout = TRUE, stderr = TRUE)
  if (!is.null(attr(status, "status"))) stop(paste(status, collapse = "\n"))
  invisible(status)
}

# A float32 .npy table as the 4-byte values themselves, widened to doubles.
read_npy_f4 <- function(path) {
  con <- file(path, "rb")
  on.exit(close(con))
  magic <- readBin(con, "raw", 8)
  header_length <- readBin(con, "integer", size = 2, signed = FALSE, endian = "little")
  header <- rawToChar(readBin(con, "raw", header_length))
  stopifnot(grepl("'<f4'", header, fixed = TRUE), grepl("'fortran_order': False", header, fixed = TRUE))
  shape <- as.integer(strsplit(sub(".*\\((.*)\\).*", "\\1", header), ",\\s*")[[1]])
  values <- readBin(con, "numeric", size = 4, n = prod(shape), endian = "little")
  matrix(values, nrow = shape[1], ncol = shape[2], byrow = TRUE)
}

usarrests_trees <- function() {
  d <- dist(USArrests)
  list(average = hclust(d, "average"), complete = hclust(d, "complete"))
}

# A scipy linkage matrix of n objects, each joining all before it.
chain_linkage <- function(n) {
  rows <- seq_len(n - 1)
  cbind(c(0, n + rows[-length(rows)] - 1), rows, rows, rows + 1)
}

scratch_dir <- function() {
  dir <- tempfile("dendrocompare")
  dir.create(dir)
  dir
}
