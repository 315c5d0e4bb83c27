#pragma once
// A dendrogram seen from one of its levels up: the clusters of that base
// level are the leaves, and the merges above it join them. Comparing only
// the levels at and above a base never needs to look inside a leaf again,
// so the rest of the work no longer grows with the object count.
#include <cstdint>
#include <vector>

#include "model/levels.h"

namespace compare::exact {

struct ReducedTree {
  int base_level = 1;
  int leaf_count = 0;
  // leaf_of[x] for objects x = 1..N: the base cluster holding x, numbered
  // 0.. in the order of each cluster's smallest object.
  std::vector<int> leaf_of;
  std::vector<std::int64_t> leaf_size;
  // The merges above the base in the order they are applied; node ids
  // below leaf_count are leaves, leaf_count + j is merge j.
  struct Merge {
    int left = 0, right = 0;
    int level = 0;
  };
  std::vector<Merge> merges;

  int node_count() const { return leaf_count + static_cast<int>(merges.size()); }
};

// The tree above `base_level` (1 <= base_level <= L), keeping the merges of
// levels up to `top_level` inclusive.
ReducedTree reduce_tree(const LevelledDendrogram& dendrogram, int base_level, int top_level);

// Clusters of the partition at each level 1..L, [level - 1].
std::vector<int> clusters_per_level(const LevelledDendrogram& dendrogram);

// Pairs of objects joined at exactly each level 1..L, [level - 1].
std::vector<std::int64_t> pairs_joined_per_level(const LevelledDendrogram& dendrogram);

// Leaves of a reduced tree in the order of a drawing of it (the left child's
// leaves before the right's), and for every merge the two consecutive runs
// of that order its children cover.
struct LeafOrder {
  std::vector<int> leaf_at;  // [position] -> leaf
  std::vector<int> position_of;  // [leaf] -> position
  struct Runs {
    int left_begin = 0, middle = 0, right_end = 0;
  };
  std::vector<Runs> runs;  // [merge]
};
LeafOrder leaf_order(const ReducedTree& tree);

}  // namespace compare::exact
