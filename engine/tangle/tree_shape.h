#pragma once
// A dendrogram as the binary tree it draws: every merge a node with the two
// clusters it joins as its children, left as the file gives them first, so
// that its leaf order is the one its own program would draw (R's hclust
// order, scipy's dendrogram leaves, a Newick tree's text order).
#include <vector>

#include "model/levels.h"

namespace compare::tangle {

struct TreeShape {
  int leaf_count = 0;
  // Node ids: 0..N-1 the objects 1..N; N + t the node of merge t, in the
  // order the merges are applied (by height, ties in file order).
  std::vector<int> left, right;
  std::vector<float> height;
  std::vector<int> level;  // the level each merge makes, 1..L
  std::vector<int> size;   // objects under each merge node

  int node_count() const { return leaf_count + static_cast<int>(left.size()); }
  int root() const { return node_count() - 1; }
  bool is_leaf(int node) const { return node < leaf_count; }
  int merge_of(int node) const { return node - leaf_count; }
  int size_of(int node) const { return is_leaf(node) ? 1 : size[merge_of(node)]; }
  float height_of(int node) const { return is_leaf(node) ? 0.0f : height[merge_of(node)]; }
  float top_height() const { return left.empty() ? 0.0f : height.back(); }
};

// From the levelled merges and the heights of levels 1..L.
TreeShape tree_shape(const LevelledDendrogram& dendrogram, const std::vector<float>& level_heights);

// Which merge nodes have their children swapped: flips[t] for merge t.
using Flips = std::vector<char>;

// The objects (0-based) from top to bottom, with each flipped node's
// children drawn the other way round.
std::vector<int> leaf_order(const TreeShape& tree, const Flips& flips);

// Each object's position in `order` (objects 0-based, top to bottom).
std::vector<int> positions_of(const std::vector<int>& order);

// The cluster (0-based, numbered from the top of `order`) of every object
// at `level`: all merges of levels up to it applied.
std::vector<int> clusters_at_level(const TreeShape& tree, int level, const std::vector<int>& order);

}  // namespace compare::tangle
