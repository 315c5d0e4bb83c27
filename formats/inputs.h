#pragma once
// Dendrograms in the forms users already have: our own format, scipy
// linkage matrices (.npy or text), R hclust merges and heights (CSV), and
// Newick trees with branch lengths. Every reader gives the same
// DendrogramFile our own format would, or throws InputError naming the
// file, the line or row, and the fault.
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/tables.h"

namespace compare {

enum class InputFormat { automatic, den, linkage_npy, linkage_text, hclust, newick };

// "den", "npy", "linkage", "hclust", "newick" (and "auto"); nullopt if unknown.
std::optional<InputFormat> input_format_named(const std::string& name);
const char* input_format_name(InputFormat format);

// From the extension (.den .npy .txt/.csv/.tsv .nwk/.newick/.tree/.tre) and,
// where that does not settle it, from the content.
InputFormat detect_input_format(const std::string& path);

// A scipy linkage matrix Z, row-major (rows x columns); columns must be 4.
// Row t joins idx1 and idx2 (ids >= N are earlier rows) at height dist;
// leaf i is object i + 1; a merged cluster is named by its smallest object;
// the companions are the two clusters' sizes. `source` names Z in messages.
DendrogramFile from_linkage(const double* z, std::size_t rows, std::size_t columns,
                            const std::string& source = "linkage matrix");

// R hclust: merge[,1], merge[,2] (-x is object x, j > 0 the cluster made at
// step j) and height.
DendrogramFile from_hclust(const std::vector<int>& merge1, const std::vector<int>& merge2,
                           const std::vector<double>& height, const std::string& source = "hclust merges");

struct ReadOptions {
  InputFormat format = InputFormat::automatic;
  // Newick leaf labels in object order (objects 1..N); empty: the order of
  // the first tree's leaves.
  std::vector<std::string> labels;
};

// One dendrogram. A Newick tree on its own takes its objects in the order
// of its leaves unless labels are given.
DendrogramFile read_dendrogram(const std::string& path, const ReadOptions& options = {});

// Both dendrograms of a comparison: Newick trees share one label order, the
// first tree's unless labels are given; two object counts that differ are
// refused.
std::pair<DendrogramFile, DendrogramFile> read_dendrogram_pair(const std::string& first,
                                                              const std::string& second,
                                                              const ReadOptions& options = {});

// The names of the objects of a comparison whose first input is `path`, as
// read_dendrogram_pair numbers them: the labels given, or a Newick tree's
// leaves in text order; empty when the objects have only numbers.
std::vector<std::string> object_labels(const std::string& path, const ReadOptions& options = {});

// The labels of a --labels file: one a line, blank lines ignored.
std::vector<std::string> read_labels(const std::string& path);

}  // namespace compare
