#pragma once
// Rows of every level of one dendrogram grouped by cluster label: group j
// holds the clusters named by labels j * kLabels + 1 .. (j + 1) * kLabels.
// A merge changes at most the two groups of its clusters, so most groups
// are the same from one level to the next, and what a group's rows add to
// the cross term is worked out once for all the levels that share it.
#include <cstdint>
#include <span>
#include <vector>

#include "model/levels.h"

namespace compare::fast {

// The groups of one row level. A group's rows are [start(j), start(j + 1));
// version(j) is the last level whose merges changed group j (0: none), so
// levels with equal (j, version(j)) have the same rows in group j.
struct RowGroupsView {
  std::span<const std::uint16_t> starts;    // one more than there are groups
  std::span<const std::uint16_t> versions;  // one per group
  int count() const { return static_cast<int>(versions.size()); }
};

class RowGroups {
 public:
  static constexpr int kLabels = 64;

  RowGroups() = default;
  // The groups of levels 1 .. level_count - 1, level k at index k - 1.
  explicit RowGroups(const LevelledDendrogram& dendrogram);
  RowGroupsView level(int index) const;

 private:
  int groups_ = 0;
  std::vector<std::uint16_t> starts_;    // (groups_ + 1) per level
  std::vector<std::uint16_t> versions_;  // groups_ per level
};

}  // namespace compare::fast
