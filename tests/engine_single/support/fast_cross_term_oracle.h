#pragma once
// A frozen copy of the engine's cross-term folder as it was before crossing
// rows were taken in blocks. It was checked against the literal loop and is
// fast enough to serve as the oracle for the new folder at sizes (N = 2000
// and beyond) where the literal loop and the plain fold are out of reach.
#include <cstdint>
#include <vector>

#include "engine/single/fast_margins.h"

namespace compare::testing_support {

using fast::ClusterMargins;

// Folds any number of row partitions against one column partition, keeping
// what it learns about the columns (the effect of a whole row inside one
// binade) for later rows of the same size.
class OracleCrossTermFolder {
 public:
  explicit OracleCrossTermFolder(const ClusterMargins& columns) : columns_(&columns) {}
  // Starts over with another column partition, keeping the table's storage.
  void use_columns(const ClusterMargins& columns) {
    columns_ = &columns;
    ++generation_;
  }
  float fold(const ClusterMargins& rows);
  float fold(const ClusterMargins& rows, int /*rows_as_before*/) { return fold(rows); }
  // Sets aside room for rows of up to this size, so that the table of row
  // effects is allocated once.
  void reserve_sizes(int largest_size) { effects_.reserve(static_cast<std::size_t>(largest_size + 1) * kBinades); }

  // Within binade e, a row of one size moves the significand m of the sum by
  // step[m mod 2]; valid is false when that model does not apply.
  struct RowEffect {
    std::int32_t step[2] = {0, 0};  // below 2^24 whenever valid
    bool valid = false;
  };

 private:
  const RowEffect& effect_of(int row_size, float row_square, int binade);
  bool add_rows_in_binade(float& sum, const ClusterMargins& rows, int& row);

  // Binades 24 to 51 are the ones the model covers.
  static constexpr int kFirstBinade = 24;
  static constexpr int kBinades = 28;
  struct Slot {
    RowEffect effect;
    std::uint32_t generation = 0;  // the slot is filled for this generation's columns
  };

  const ClusterMargins* columns_;
  std::uint32_t generation_ = 1;
  std::vector<Slot> effects_;  // by row size and binade
};

inline float oracle_fold_cross_term(const ClusterMargins& rows, const ClusterMargins& columns) {
  return OracleCrossTermFolder(columns).fold(rows);
}

}  // namespace compare::testing_support
