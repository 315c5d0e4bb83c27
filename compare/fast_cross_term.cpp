#include "compare/fast_cross_term.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

// Why the shortcuts below leave the result unchanged. All margins are whole
// numbers, so every stored square, every term and every running sum is a
// whole number; terms are positive, so the running sum never decreases.
//
// Exact rows. Let g be the smaller of the power of two dividing the running
// sum S and the power of two dividing every term of row r (that of the row's
// square plus that common to the column squares). Every partial sum of the
// row is then a multiple of 2^g, and none exceeds S + square(r) * (sum of
// column squares). If that bound is at most 2^(24+g), every partial sum is
// m * 2^g with m <= 2^24, a 4-byte real: each step's exact sum is already
// representable at single and double precision, no step rounds, and the row
// adds its exact total at once.
//
// Negligible terms. Let S >= 2^24 lie in [2^e, 2^(e+1)), with spacing
// u = 2^(e-23) of 4-byte reals there. For S <= 2^52 and a whole term t with
// 2t < u, the double sum S + t is exact (a whole number below 2^53) and lies
// strictly within u/2 above S and below 2^(e+1) - u/2, so the single rounding
// returns S. For larger S, a term t <= u/4 is used instead: the double sum is
// at most S + u/4 (rounding is monotone and S + u/4 is a double), and that
// rounds to S at single precision. Such a step changes nothing, and because S
// never decreases, a term negligible now stays negligible for the rest of the
// fold. A row all of whose terms are negligible is skipped whole.
//
// Tiers. Sizes are at most 2^t outside tier t, so their squares are at most
// 4^t (rounding is monotone and 4^t is a 4-byte real); with 4^t times the
// other factor's largest square negligible, only the tier-t entries can
// change S and the others are passed over.

namespace compare::fast {

namespace {

constexpr double kTwo24 = 16777216.0;
constexpr double kTwo52 = 4503599627370496.0;

// The largest term that provably leaves S unchanged; 0 when none does.
double negligible_limit(float sum) {
  const double s = sum;
  if (s < kTwo24) return 0.0;
  const double spacing = std::ldexp(1.0, std::ilogb(s) - 23);
  return s <= kTwo52 ? spacing / 2.0 - 1.0 : spacing / 4.0;
}

// The largest tier index t with 4^t * other <= limit, or -1.
int negligible_tier(double other_square, double limit) {
  if (other_square > limit) return -1;
  int t = 0;
  while (std::ldexp(other_square, 2 * (t + 1)) <= limit && t < 62) ++t;
  return t;
}

int twos_of(float whole) {
  if (whole == 0.0f) return 64;
  return std::countr_zero(static_cast<std::uint64_t>(whole));
}

// Adds row r at once when no step of it can round; see "Exact rows".
bool add_exact_row(float& sum, float row_square, const ClusterMargins& columns) {
  const int g = std::min(twos_of(sum), twos_of(row_square) + columns.square_twos());
  if (g > 38) return false;  // keeps 2^(24+g) inside 64-bit integers
  const std::int64_t limit = std::int64_t{1} << (24 + g);
  const auto s = static_cast<std::int64_t>(sum);
  const auto rsq = static_cast<std::int64_t>(row_square);
  if (s > limit || columns.square_sum() > (limit - s) / rsq) return false;
  sum = static_cast<float>(s + rsq * columns.square_sum());
  return true;
}

void fold_row(float& sum, float row_square, const ClusterMargins& columns) {
  const int t = negligible_tier(row_square, negligible_limit(sum));
  if (t < 0) {
    for (int s = 0; s < columns.count(); ++s) sum = cross_term_step(sum, columns.square(s), row_square);
    return;
  }
  if (t >= columns.tier_count()) return;
  for (int s : columns.tier(t)) sum = cross_term_step(sum, columns.square(s), row_square);
}

// The first row at or after `row` that can change S, or rows.count().
int next_relevant_row(const ClusterMargins& rows, int row, const ClusterMargins& columns, float sum) {
  const int t = negligible_tier(columns.largest_square(), negligible_limit(sum));
  if (t < 0) return row;
  if (t >= rows.tier_count()) return rows.count();
  const auto tier = rows.tier(t);
  const auto it = std::lower_bound(tier.begin(), tier.end(), row);
  return it == tier.end() ? rows.count() : *it;
}

}  // namespace

float fold_cross_term(const ClusterMargins& rows, const ClusterMargins& columns) {
  float sum = 0.0f;
  for (int r = next_relevant_row(rows, 0, columns, sum); r < rows.count();
       r = next_relevant_row(rows, r + 1, columns, sum)) {
    const float row_square = rows.square(r);
    if (!add_exact_row(sum, row_square, columns)) fold_row(sum, row_square, columns);
  }
  return sum;
}

}  // namespace compare::fast
