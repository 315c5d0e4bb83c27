#pragma once
// The readers of each foreign format, behind formats/inputs.h.
#include <string>
#include <vector>

#include "model/tables.h"

namespace compare {

DendrogramFile read_linkage_npy(const std::string& path);
DendrogramFile read_linkage_text(const std::string& path);
DendrogramFile read_hclust_csv(const std::string& path);


// Parses one tree; objects are numbered by `order` (labels in object
// order), or by the tree's own leaf order when order is empty.
DendrogramFile read_newick(const std::string& path, const std::vector<std::string>& order);
// The leaf labels of a Newick file in the order of its text.
std::vector<std::string> newick_leaf_labels(const std::string& path);

}  // namespace compare
