#pragma once
// The cross term of one level pair: the sum over rows r (outer) and columns
// s (inner) of square(column s) * square(row r), each step formed at double
// precision and stored as a 4-byte real. Its value depends on the order of
// the steps, so it is not S1 * S2; fold_cross_term gives exactly the bits of
// the step-by-step fold while doing far fewer steps.
#include "compare/fast_margins.h"

namespace compare::fast {

float fold_cross_term(const ClusterMargins& rows, const ClusterMargins& columns);

// One step of the fold exactly as specified; shared by the fast path for the
// steps it cannot avoid.
inline float cross_term_step(float sum, float column_square, float row_square) {
  return static_cast<float>(static_cast<double>(sum) +
                            static_cast<double>(column_square) * static_cast<double>(row_square));
}

}  // namespace compare::fast
