#pragma once
// What two partitions of the same objects share: the objects each pair of
// clusters has in common, and which objects stay with their cluster.
#include <vector>

namespace compare::tangle {

struct SharedCell {
  int first = 0, second = 0;  // the clusters (0-based) in the two partitions
  int count = 0;              // objects in both
};

// The non-empty cells of the contingency table, ordered by first, then second.
std::vector<SharedCell> shared_cells(const std::vector<int>& cluster1, const std::vector<int>& cluster2);

// Whether each cell keeps its objects together: it holds the most of its
// cluster's objects in both partitions (ties count for every cell that
// has the most). An object in any other cell has moved.
std::vector<char> cells_kept_together(const std::vector<SharedCell>& cells);

// Per object: 1 if it has moved, as above.
std::vector<char> moved_objects(const std::vector<int>& cluster1, const std::vector<int>& cluster2);

}  // namespace compare::tangle
