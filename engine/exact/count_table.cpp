#include "engine/exact/count_table.h"

namespace compare {

PairCountTable::PairCountTable(int rows, int columns, bool wide)
    : rows_(rows), columns_(columns), wide_(wide), storage_(bytes_for(rows, columns, wide)) {}

template <typename Count>
void PairCountTable::set_running_row_as(int row, std::span<const std::uint64_t> counts) {
  Count* cells = storage_.as<Count>() + static_cast<std::size_t>(row) * columns_;
  std::uint64_t running = 0;
  for (int c = 0; c < columns_; ++c) {
    running += counts[c];
    cells[c] = static_cast<Count>(running);
  }
}

void PairCountTable::set_running_row(int row, std::span<const std::uint64_t> counts) {
  if (wide_)
    set_running_row_as<std::uint64_t>(row, counts);
  else
    set_running_row_as<std::uint32_t>(row, counts);
}

template <typename Count>
void PairCountTable::accumulate_rows_as() {
  Count* cells = storage_.as<Count>();
  for (int r = 1; r < rows_; ++r) {
    Count* row = cells + static_cast<std::size_t>(r) * columns_;
    const Count* above = row - columns_;
    for (int c = 0; c < columns_; ++c) row[c] += above[c];
  }
}

void PairCountTable::accumulate_rows() {
  if (wide_)
    accumulate_rows_as<std::uint64_t>();
  else
    accumulate_rows_as<std::uint32_t>();
}

}  // namespace compare
