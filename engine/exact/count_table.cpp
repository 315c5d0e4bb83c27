#include "engine/exact/count_table.h"

namespace compare {

PairCountTable::PairCountTable(int rows, int columns, bool wide)
    : rows_(rows), columns_(columns), wide_(wide), storage_(bytes_for(rows, columns, wide)) {}

void PairCountTable::set_row(int row, std::span<const std::uint64_t> counts) {
  for (int c = 0; c < columns_; ++c) set(row, c, counts[c]);
}

template <typename Count>
void PairCountTable::accumulate_as() {
  Count* cells = storage_.as<Count>();
  for (int r = 0; r < rows_; ++r) {
    Count* row = cells + static_cast<std::size_t>(r) * columns_;
    const Count* above = r > 0 ? row - columns_ : nullptr;
    Count running = 0;
    for (int c = 0; c < columns_; ++c) {
      running += row[c];
      row[c] = running + (above ? above[c] : 0);
    }
  }
}

void PairCountTable::accumulate() {
  if (wide_)
    accumulate_as<std::uint64_t>();
  else
    accumulate_as<std::uint32_t>();
}

}  // namespace compare
