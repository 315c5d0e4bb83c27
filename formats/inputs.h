#pragma once
// Dendrograms in the forms users already have: our own format, scipy
// linkage matrices (.npy or text), R hclust merges and heights (CSV), and
// Newick trees with branch lengths. Every reader gives the same
// DendrogramFile our own format would, or throws InputError naming the
// file, the line or row, and the fault.
#include <cstddef>
#include <cstdint>
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

// From the extension (.den .npy .nwk/.newick/.tree/.tre) and, where that
// does not settle it, from the content; reads the input to tell.
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
  // The objects' labels in object order (objects 1..N): a Newick tree's
  // leaves are matched to them, and an input without labels has them by
  // position. Empty: a tree's own leaves, in their order.
  std::vector<std::string> labels;
  // Names the labels in messages.
  std::string labels_source = "the labels";
  // How the front end takes labels: ends the message refusing to pair an
  // input that has labels with one that has none.
  std::string how_to_give_labels = "with --labels FILE, one a line";
  // The most bytes an input may take; 0: half the memory available.
  std::uint64_t memory_limit = 0;
};

// A dendrogram read, with the format it was read in.
struct ReadResult {
  DendrogramFile dendrogram;
  InputFormat format = InputFormat::automatic;
  // The objects' names in object order, from a comparison's two inputs:
  // the labels given or the trees' leaves; empty when only numbers name them.
  std::vector<std::string> labels;
};

// One dendrogram. Each input is opened and read once, so a pipe reads as
// a file does. A Newick tree takes its objects in the order of the labels
// given, else by number when its leaves are the numbers 1..N, else in the
// order of its leaves.
DendrogramFile read_dendrogram(const std::string& path, const ReadOptions& options = {});

// One file of a comparison whose other dendrogram is no file (a matrix or
// an object in memory), named `other` in messages, with options.labels as
// its labels, or none. A Newick tree with labels of its own beside one
// without any is refused, as read_comparison_inputs refuses it.
ReadResult read_dendrogram_beside(const std::string& path, const std::string& other,
                                  const ReadOptions& options = {});

// Both dendrograms of a comparison, their objects paired: by the labels
// given; else two Newick trees by their leaf labels, which must be the
// same and each appear once (the first tree's order numbering the
// objects); else by number. A tree with labels beside an input without
// any is refused (say how to give labels), unless its labels are the
// numbers 1..N. Two object counts that differ are refused.
std::pair<ReadResult, ReadResult> read_comparison_inputs(const std::string& first, const std::string& second,
                                                         const ReadOptions& options = {});
std::pair<DendrogramFile, DendrogramFile> read_dendrogram_pair(const std::string& first,
                                                              const std::string& second,
                                                              const ReadOptions& options = {});

// The words that refuse to pair an input with labels and one without, for
// front ends that pair objects of their own as the readers pair files.
std::string unpaired_message(const std::string& labelled, const std::string& plain,
                             const std::string& how_to_give_labels);

// The labels of a labels file: one a line, blanks around them and blank
// lines ignored. A label given twice is refused, naming the file.
std::vector<std::string> read_labels(const std::string& path);

}  // namespace compare
