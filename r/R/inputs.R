# Each input becomes a list the compiled code turns into the engine's
# dendrogram: kind "hclust" (R's merge convention, read as it is),
# "linkage" (a scipy linkage matrix) or "records" (read from a file by the
# project's readers), with the objects' labels where the input has any.

hclust_input <- function(merge, height, labels, source) {
  storage.mode(merge) <- "integer"
  list(kind = "hclust", merge = merge, height = as.double(height),
       labels = if (is.null(labels)) NULL else as.character(labels), source = source)
}

# Node heights above the tips of an ultrametric tree with branch lengths,
# and the internal nodes in merge order (a node after its children: by
# height, then by size).
phylo_input <- function(x, name) {
  if (is.null(x$edge.length))
    input_error(sprintf("%s: the phylo tree has no branch lengths", name))
  tips <- length(x$tip.label)
  nodes <- tips + seq_len(x$Nnode)
  children <- split(x$edge[, 2], factor(x$edge[, 1], levels = nodes))
  if (any(lengths(children) != 2))
    input_error(sprintf("%s: the phylo tree is not binary (a node with %d children)",
                        name, lengths(children)[lengths(children) != 2][1]))
  depth <- numeric(tips + x$Nnode)
  size <- c(rep(1L, tips), integer(x$Nnode))
  order <- phylo_preorder(x, tips)
  for (e in order) depth[x$edge[e, 2]] <- depth[x$edge[e, 1]] + x$edge.length[e]
  for (e in rev(order)) size[x$edge[e, 1]] <- size[x$edge[e, 1]] + size[x$edge[e, 2]]
  tip_depth <- depth[seq_len(tips)]
  if (diff(range(tip_depth)) > 1e-8 * max(abs(tip_depth), 1))
    input_error(sprintf("%s: the phylo tree is not ultrametric (tips at depths %g to %g)",
                        name, min(tip_depth), max(tip_depth)))
  height <- max(tip_depth) - depth[nodes]
  merged <- nodes[order(height, size[nodes])]
  step <- integer(tips + x$Nnode)
  step[merged] <- seq_along(merged)
  id <- function(node) if (node <= tips) -node else step[node]
  merge <- t(vapply(merged, function(node) vapply(children[[as.character(node)]], id, 1L), integer(2)))
  hclust_input(merge, max(tip_depth) - depth[merged], x$tip.label, name)
}

# Edges in an order where every edge comes after the edge into its parent.
phylo_preorder <- function(x, tips) {
  root <- setdiff(x$edge[, 1], x$edge[, 2])
  out <- integer(0)
  frontier <- root
  while (length(frontier)) {
    edges <- which(x$edge[, 1] %in% frontier)
    out <- c(out, edges)
    frontier <- x$edge[edges, 2]
  }
  out
}

linkage_input <- function(x, name) {
  list(kind = "linkage", values = as.double(t(x)), rows = nrow(x), columns = ncol(x),
       labels = NULL, source = name)
}

file_input <- function(path, name) {
  if (!file.exists(path)) input_error(sprintf("%s: cannot open the file: No such file or directory", path))
  list(kind = "file", path = path, labels = NULL, source = name)
}

as_input <- function(x, name) {
  if (inherits(x, "hclust")) return(hclust_input(x$merge, x$height, x$labels, name))
  if (inherits(x, "dendrogram")) {
    h <- tryCatch(stats::as.hclust(x), error = function(e)
      input_error(sprintf("%s: the dendrogram cannot be read as a binary tree: %s", name, conditionMessage(e))))
    return(hclust_input(h$merge, h$height, h$labels, name))
  }
  if (inherits(x, "phylo")) return(phylo_input(x, name))
  if (is.character(x) && length(x) == 1) return(file_input(path.expand(x), name))
  if (is.matrix(x) && is.numeric(x)) return(linkage_input(x, name))
  input_error(sprintf(paste("%s: a dendrogram is an hclust, dendrogram or phylo object, a scipy",
                            "linkage matrix or a file path, not %s"), name, paste(class(x), collapse = "/")))
}

# Files become records; a Newick file beside a labelled object takes that
# object's labels as its order of objects (and so its labels), two files
# are read together as the command line reads them. A Newick file with
# labels beside an object without any is refused by the readers, unless
# its labels are the numbers 1..N, which it then takes as its object
# numbers.
read_inputs <- function(a, b) {
  named <- function(records, input, labels = NULL) c(records, list(labels = labels, source = input$source))
  if (a$kind == "file" && b$kind == "file") {
    both <- engine_result(.Call(dc_read_files, c(a$path, b$path), NULL, NULL))
    return(list(named(both[[1]], a), named(both[[2]], b)))
  }
  read_one <- function(input, other) {
    if (input$kind != "file") return(input)
    read <- engine_result(.Call(dc_read_beside, input$path, other$source, other$labels))
    named(read[[1]], input, if (read[[2]]) other$labels else NULL)
  }
  list(read_one(a, b), read_one(b, a))
}

quoted_few <- function(labels) {
  shown <- head(labels, 5)
  paste0(paste0("'", shown, "'", collapse = ", "), if (length(labels) > 5) sprintf(" and %d more", length(labels) - 5))
}

check_unique <- function(input) {
  repeated <- unique(input$labels[duplicated(input$labels)])
  if (length(repeated))
    input_error(sprintf("%s: the labels %s occur more than once", input$source, quoted_few(repeated)))
}

# Object i of b becomes object position[i] of a.
renumber <- function(input, position) {
  leaves <- input$merge < 0
  input$merge[leaves] <- -position[-input$merge[leaves]]
  input
}

# Matches b's objects to a's: by label when both have labels, by position
# when neither has any; when only one has labels, only labels that are the
# object numbers 1..N pair with the other's numbers.
match_objects <- function(a, b) {
  if (is.null(a$labels) && is.null(b$labels)) return(b)
  if (!is.null(a$labels) && !is.null(b$labels)) {
    check_unique(a)
    check_unique(b)
    only_a <- setdiff(a$labels, b$labels)
    only_b <- setdiff(b$labels, a$labels)
    if (length(only_a) || length(only_b))
      input_error(paste0("the labels differ: ",
                         paste(c(if (length(only_a)) sprintf("%s in %s only", quoted_few(only_a), a$source),
                                 if (length(only_b)) sprintf("%s in %s only", quoted_few(only_b), b$source)),
                               collapse = "; ")))
    return(renumber(b, match(b$labels, a$labels)))
  }
  labelled <- if (is.null(a$labels)) b else a
  plain <- if (is.null(a$labels)) a else b
  numbers <- as.character(seq_along(labelled$labels))
  if (setequal(labelled$labels, numbers) && !anyDuplicated(labelled$labels)) {
    if (identical(labelled, a)) return(renumber(b, match(numbers, a$labels)))
    return(renumber(b, as.integer(b$labels)))
  }
  input_error(.Call(dc_unpaired_message, labelled$source, plain$source))
}

# Two inputs, read and with their objects paired, ready for the engine:
# the hclust-like one is renumbered to the other's order of objects.
prepare_pair <- function(x, y) {
  both <- read_inputs(as_input(x, "x"), as_input(y, "y"))
  a <- both[[1]]
  b <- both[[2]]
  if (b$kind == "hclust") b <- match_objects(a, b)
  else if (a$kind == "hclust") a <- match_objects(b, a)
  list(a, b)
}
