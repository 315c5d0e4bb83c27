#pragma once
// The two dendrograms of a comparison drawn face to face: each tree's leaf
// order (untangled by rotating nodes, which changes no partition), the
// entanglement before and after, and the clusters of one level pair that
// colour the lines joining each object's two leaves.
#include <cstdint>
#include <vector>

#include "engine/engine.h"
#include "engine/tangle/untangle.h"

namespace compare {

inline constexpr int kTangleClustersAtMost = 60;

struct TangleOptions {
  // Colour by dendrogram 1 at its compared level with the fewest clusters
  // that are at least this many, against the level of dendrogram 2 where
  // 1 - adjusted Rand is smallest in that row; 0: the level pair where it
  // is smallest overall.
  int clusters = 0;
  // Without `clusters`, look only at levels with at most this many (0: any;
  // -1: the square root of N, rounded up, but at most kTangleClustersAtMost),
  // since the finest levels of any two trees agree almost perfectly and
  // show nothing.
  int most_clusters = -1;
  bool untangle = true;
  bool colour_lines = true;  // false: the orders and entanglements alone
  // Collapse each tree into blocks, its clusters at the level with the
  // fewest that are at least this many and at least the colour level's
  // (0: no blocks).
  int blocks = 0;
  std::int64_t work_limit = tangle::UntangleOptions{}.work_limit;
};

struct Tanglegram {
  tangle::TreeShape tree1, tree2;
  tangle::Flips flips1, flips2;
  std::vector<int> order1, order2;  // the objects (0-based) from top to bottom
  double given_entanglement = 0;    // of the trees as the inputs draw them
  double entanglement = 0;          // of order1 and order2
  bool untangled = false;
  bool stopped_early = false;  // the untangling reached its work limit
  // The compared level pair (row, column) whose clusters colour the lines;
  // 0 and 0 when a dendrogram has no compared level (one cluster each).
  int row = 0, column = 0;
  int level1 = 0, level2 = 0;  // their levels in each tree (the top level without any)
  int clusters1 = 1, clusters2 = 1;
  std::vector<int> cluster1, cluster2;  // per object, numbered from the top of each drawing
  std::vector<char> moved;              // per object: its two clusters do not hold the most of each other
  // With blocks: each tree's level of blocks, their count, and each object's
  // block, numbered from the top of each drawing; empty otherwise.
  int block_level1 = 0, block_level2 = 0, blocks1 = 0, blocks2 = 0;
  std::vector<int> block1, block2;
};

Tanglegram tanglegram_layout(const Comparison& comparison, const TangleOptions& options = {});

}  // namespace compare
