#pragma once
// The readers of each foreign format, behind formats/inputs.h: each parses
// an input's bytes, read once (formats/input_source.h); `path` names the
// input in messages.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/tables.h"

namespace compare {

// Where a .npy linkage matrix keeps its values, from its header.
struct NpyLayout {
  std::size_t data_offset = 0;
  std::size_t rows = 0, columns = 0;
  int item_size = 8;  // float64 or float32
  bool big_endian = false;
  bool fortran_order = false;
  std::uint64_t file_size() const { return data_offset + std::uint64_t{rows} * columns * item_size; }
};

// From the file's first bytes, which must hold the whole header. Throws
// InputError for a header no linkage matrix has.
NpyLayout npy_layout(std::string_view start, const std::string& path);

DendrogramFile read_linkage_npy(std::string_view bytes, const std::string& path);
DendrogramFile read_linkage_text(std::string_view text, const std::string& path);
DendrogramFile read_hclust_csv(std::string_view text, const std::string& path);

// A Newick tree, parsed once: its leaves are known before the objects are
// numbered, so that two trees can share one order of objects.
class NewickTree {
 public:
  NewickTree(std::string_view text, const std::string& path);
  ~NewickTree();
  NewickTree(NewickTree&&) noexcept;
  NewickTree& operator=(NewickTree&&) noexcept;

  // The leaf labels in the order of the text.
  const std::vector<std::string>& leaves() const { return leaves_; }
  // Leaves that are exactly the numbers 1 to N, as R's ape writes an
  // unlabelled tree: they are the object numbers, and pair by number with
  // a dendrogram that has no labels.
  bool numbered() const;
  // Throws InputError "<path>: leaf '<label>' appears twice".
  void check_unique_leaves() const;
  // The objects numbered by `order` (labels in object order, from
  // `order_source` for messages), by the numbers of a numbered tree when
  // order is empty, else by the order of the leaves.
  DendrogramFile dendrogram(const std::vector<std::string>& order = {},
                            const std::string& order_source = "the labels") const;

 private:
  struct Parsed;
  std::unique_ptr<Parsed> tree_;
  std::string path_;
  std::vector<std::string> leaves_;
};

}  // namespace compare
