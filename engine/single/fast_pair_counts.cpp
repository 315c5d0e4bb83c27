#include "engine/single/fast_pair_counts.h"

#include <algorithm>
#include <cstring>

namespace compare::fast {

std::uint32_t CountGrid::get(int k, int l) const {
  std::uint32_t value;
  std::memcpy(&value, cell(k, l), sizeof value);
  return value;
}

void CountGrid::set(int k, int l, std::uint32_t value) { std::memcpy(cell(k, l), &value, sizeof value); }

namespace {

// Level of dendrogram 2 at which each pair joins, packed by the larger
// object; 16 bits suffice because a dendrogram has fewer levels than objects.
class PairLevels {
 public:
  explicit PairLevels(int n) : levels_(static_cast<std::size_t>(n) * (n - 1) / 2 + 1, 0) {}
  std::uint16_t& at(int x, int y) {
    const auto [b, a] = std::minmax(x, y);
    return levels_[static_cast<std::size_t>(a - 1) * (a - 2) / 2 + (b - 1)];
  }

 private:
  std::vector<std::uint16_t> levels_;
};

std::vector<std::int64_t> cumulative_per_level(const LevelledDendrogram& d) {
  std::vector<std::int64_t> joined(std::max(d.level_count, 0), 0);
  std::vector<int> size(d.object_count + 1, 1);
  for (const LevelledMerge& merge : d.merges) {
    joined[merge.level - 1] += static_cast<std::int64_t>(size[merge.kept]) * size[merge.absorbed];
    size[merge.kept] += size[merge.absorbed];
  }
  for (std::size_t i = 1; i < joined.size(); ++i) joined[i] += joined[i - 1];
  return joined;
}

void accumulate(CountGrid& grid, int rows, int columns) {
  for (int k = 1; k <= rows; ++k) {
    std::uint32_t row_total = 0;
    for (int l = 1; l <= columns; ++l) {
      row_total += grid.get(k, l);
      grid.set(k, l, row_total + (k > 1 ? grid.get(k - 1, l) : 0));
    }
  }
}

}  // namespace

JoinedPairs count_joined_pairs(const LevelledDendrogram& first, const LevelledDendrogram& second,
                               CountGrid both) {
  const int rows = first.level_count - 1;
  const int columns = second.level_count - 1;
  for (int k = 1; k <= rows; ++k) {
    for (int l = 1; l <= columns; ++l) both.set(k, l, 0);
  }
  {
    PairLevels second_levels(first.object_count);
    for_each_joined_pair(second, [&](int x, int y, int level) {
      second_levels.at(x, y) = static_cast<std::uint16_t>(level);
    });
    for_each_joined_pair(first, [&](int x, int y, int k) {
      const int l = second_levels.at(x, y);
      if (k <= rows && l >= 1 && l <= columns) both.set(k, l, both.get(k, l) + 1);
    });
  }
  accumulate(both, rows, columns);
  return {cumulative_per_level(first), cumulative_per_level(second)};
}

}  // namespace compare::fast
