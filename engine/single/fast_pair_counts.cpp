#include "engine/single/fast_pair_counts.h"

#include <cstring>

#include "engine/exact/level_pair_counts.h"
#include "engine/exact/pair_histogram.h"

namespace compare::fast {

std::uint32_t CountGrid::get(int k, int l) const {
  std::uint32_t value;
  std::memcpy(&value, cell(k, l), sizeof value);
  return value;
}

void CountGrid::set(int k, int l, std::uint32_t value) { std::memcpy(cell(k, l), &value, sizeof value); }

namespace {

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

// The exact engine's histogram, written into the value table's cells: no
// table of object pairs is needed for the single-precision values either.
JoinedPairs count_joined_pairs(const LevelledDendrogram& first, const LevelledDendrogram& second, CountGrid both,
                               int threads) {
  const exact::KeptLevels rows{1, first.level_count - 1}, columns{1, second.level_count - 1};
  const auto sink = [&](int row, std::span<const std::uint64_t> counts) {
    for (int c = 0; c < columns.count; ++c) both.set(row + 1, c + 1, static_cast<std::uint32_t>(counts[c]));
  };
  exact::pair_histogram(first, rows, second, columns, threads, sink);
  accumulate(both, rows.count, columns.count);
  return {exact::pairs_joined_up_to(first), exact::pairs_joined_up_to(second)};
}

}  // namespace compare::fast
