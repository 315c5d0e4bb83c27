#pragma once
// Whole rows of one exact measure at a time, from the pair counts: the
// loops a table of millions of cells is made by, kept free of per-cell
// dispatch so that the compiler can keep them tight.
#include <cstdint>
#include <span>

#include "engine/exact/count_table.h"
#include "engine/exact/pair_measures.h"

namespace compare::exact {

struct CountsView {
  const PairCountTable& both;
  std::span<const std::int64_t> joined1, joined2;
  std::int64_t total;
};

// Rows first_row..last_row (0-based) of the measure, columns() doubles a
// row, at out. The values are those exact_value gives, to the bit.
void fill_measure_rows(ExactMeasure measure, const CountsView& counts, int first_row, int last_row, double* out);

}  // namespace compare::exact
