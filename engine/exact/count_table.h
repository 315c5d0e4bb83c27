#pragma once
// The pairs joined in both partitions of every compared level pair, a(r, c),
// one count per level pair: 4 bytes while every count fits, 8 beyond
// N(N-1)/2 = 2^32.
#include <cstdint>
#include <span>

#include "engine/exact/large_buffer.h"

namespace compare {

class PairCountTable {
 public:
  PairCountTable() = default;
  // Zero-filled; wide for 8-byte counts.
  PairCountTable(int rows, int columns, bool wide);

  static bool needs_wide(std::int64_t pair_count) { return pair_count > 0xffffffffLL; }
  static std::size_t bytes_for(int rows, int columns, bool wide) {
    return static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns) * (wide ? 8 : 4);
  }

  int rows() const { return rows_; }
  int columns() const { return columns_; }
  bool empty() const { return rows_ == 0 || columns_ == 0; }
  std::uint64_t at(int row, int column) const {
    const std::size_t i = static_cast<std::size_t>(row) * columns_ + column;
    return wide_ ? storage_.as<std::uint64_t>()[i] : storage_.as<std::uint32_t>()[i];
  }
  void set(int row, int column, std::uint64_t value) {
    const std::size_t i = static_cast<std::size_t>(row) * columns_ + column;
    if (wide_)
      storage_.as<std::uint64_t>()[i] = value;
    else
      storage_.as<std::uint32_t>()[i] = static_cast<std::uint32_t>(value);
  }
  bool wide() const { return wide_; }
  // Row r's cells; Count is std::uint64_t when wide(), else std::uint32_t.
  template <typename Count>
  const Count* row(int r) const {
    return storage_.as<Count>() + static_cast<std::size_t>(r) * columns_;
  }
  // Row r from counts per cell: each cell the sum of the counts up to its
  // column. Rows can be set so from several threads at once.
  void set_running_row(int row, std::span<const std::uint64_t> counts);
  // Then each cell plus every cell above it: the counts at or before it in
  // both directions.
  void accumulate_rows();

 private:
  template <typename Count>
  void set_running_row_as(int row, std::span<const std::uint64_t> counts);
  template <typename Count>
  void accumulate_rows_as();

  int rows_ = 0, columns_ = 0;
  bool wide_ = false;
  exact::LargeBuffer storage_;
};

}  // namespace compare
