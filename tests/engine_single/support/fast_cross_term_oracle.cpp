#include "fast_cross_term_oracle.h"

#include <algorithm>
#include <bit>
#include <cmath>

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
// adds its exact total at once. R equal rows in a row, a block of rows or
// all rows: the same argument with their total and the power of two common
// to all their squares.
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
// change S and the others are passed over. Rows are searched by size
// instead: squares grow with sizes, so a row no larger than the largest size
// whose square times the largest column square is negligible can be passed.
//
// Rows inside one binade. Write S = m * u with 2^23 <= m < 2^24, 24 <= e <= 51,
// and let every term t of a row be below 2^52. Then S + t < 2^53 is exact at
// double precision, and rounding it to a 4-byte real, as long as the result
// stays below 2^(e+1), rounds t/u to a whole q added to m: t = j*u + rest,
// q = j when rest < u/2, j + 1 when rest > u/2, and on a tie (rest = u/2) the
// one of j, j + 1 that makes m + q even. So q depends on the row's square,
// the column, e and the parity of m only, and the whole row adds step[p] to
// m, p the parity of m at the row's start. The model holds as long as the
// final m stays below 2^24 (m never decreases, so no earlier step left the
// binade); a row that would reach 2^24 is folded step by step instead.
// Equal rows one after another: the parities follow a cycle of length at
// most two, so R rows add a sum of R steps known in closed form.

namespace compare::testing_support {

using fast::ClusterMargins;
namespace {

float cross_term_step(float sum, float column_square, float row_square) {
  return static_cast<float>(static_cast<double>(sum) +
                            static_cast<double>(column_square) * static_cast<double>(row_square));
}

constexpr double kTwo24 = 16777216.0;
constexpr double kTwo52 = 4503599627370496.0;
constexpr std::int64_t kSignificandLimit = std::int64_t{1} << 24;

// Binary exponent of a positive finite 4-byte real, from its bits.
int exponent_of(float sum) { return static_cast<int>((std::bit_cast<std::uint32_t>(sum) >> 23) & 0xffu) - 127; }

double power_of_two(int e) {
  return e >= 0 && e < 63 ? static_cast<double>(std::uint64_t{1} << e) : std::ldexp(1.0, e);
}

// The largest term that provably leaves S unchanged; 0 when none does.
double negligible_limit(float sum) {
  const double s = sum;
  if (s < kTwo24) return 0.0;
  const double spacing = power_of_two(exponent_of(sum) - 23);
  return s <= kTwo52 ? spacing / 2.0 - 1.0 : spacing / 4.0;
}

// The largest tier index t with 4^t * other <= limit, or -1.
int negligible_tier(double other_square, double limit) {
  if (other_square > limit) return -1;
  int t = 0;
  while (t < 62 && std::ldexp(other_square, 2 * (t + 1)) <= limit) ++t;
  return t;
}

int twos_of(float whole) {
  if (whole == 0.0f) return 64;
  return std::countr_zero(static_cast<std::uint64_t>(whole));
}

// Adds as many of the `count` equal rows as provably round nowhere; returns
// how many it added. See "Exact rows". The bounds are first screened at
// double precision, which keeps the exact 64-bit products from overflowing.
int add_exact_rows(float& sum, float row_square, int count, const ClusterMargins& columns) {
  const int g = std::min(twos_of(sum), twos_of(row_square) + columns.square_twos());
  if (g > 37) return 0;  // keeps 2^(24+g), and twice it, inside 64-bit integers
  const std::int64_t limit = std::int64_t{1} << (24 + g);
  const auto s = static_cast<std::int64_t>(sum);
  const double room = static_cast<double>(limit - s);
  const double row_estimate = static_cast<double>(row_square) * static_cast<double>(columns.square_sum());
  if (s > limit || row_estimate > 2.0 * room || row_estimate > 0x1p62) return 0;
  const std::int64_t row_total = static_cast<std::int64_t>(row_square) * columns.square_sum();
  if (row_total > limit - s) return 0;
  auto rows = static_cast<std::int64_t>(std::min(static_cast<double>(count), room / static_cast<double>(row_total)));
  while (rows > 1 && rows * row_total > limit - s) --rows;
  while (rows < count && (rows + 1) * row_total <= limit - s) ++rows;
  sum = static_cast<float>(s + rows * row_total);
  return static_cast<int>(rows);
}

// Adds a span of rows with the given exact square sum and common power of
// two when no step of it can round.
bool add_exact_span(float& sum, std::int64_t span_square_sum, int span_twos, const ClusterMargins& columns) {
  const int g = std::min(twos_of(sum), span_twos + columns.square_twos());
  if (g > 37) return false;
  const std::int64_t limit = std::int64_t{1} << (24 + g);
  const auto s = static_cast<std::int64_t>(sum);
  const double estimate = static_cast<double>(span_square_sum) * static_cast<double>(columns.square_sum());
  if (s > limit || estimate > 2.0 * static_cast<double>(limit - s)) return false;
  const std::int64_t total = span_square_sum * columns.square_sum();
  if (total > limit - s) return false;
  sum = static_cast<float>(s + total);
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

// The largest size z whose square times `other_square` is at most `limit`
// (both products exact at double precision), or 0.
int largest_negligible_size(double other_square, double limit) {
  if (other_square > limit) return 0;
  auto fits = [&](int z) { return static_cast<double>(ClusterMargins::square_of(z)) * other_square <= limit; };
  int z = static_cast<int>(std::min(std::sqrt(limit / other_square), 65535.0));
  while (z > 0 && !fits(z)) --z;
  while (z < 65535 && fits(z + 1)) ++z;
  return z;
}

// The first row at or after `row` that can change S, or rows.count(): rows
// no larger than the largest negligible size have only negligible terms.
int next_relevant_row(const ClusterMargins& rows, int row, const ClusterMargins& columns, float sum) {
  if (row >= rows.count()) return row;
  const double limit = negligible_limit(sum);
  if (static_cast<double>(rows.square(row)) * columns.largest_square() > limit) return row;
  return rows.first_larger(row, largest_negligible_size(columns.largest_square(), limit));
}

// m after `rows` equal rows with the given steps; see "Rows inside one binade".
std::int64_t after_rows(std::int64_t m, std::int64_t rows, const std::int32_t step_in[2]) {
  const std::int64_t step[2] = {step_in[0], step_in[1]};
  if (rows == 0) return m;
  const int p = static_cast<int>(m & 1);
  if (step[p] % 2 == 0) return m + rows * step[p];
  m += step[p];
  --rows;
  const int q = 1 - p;
  if (step[q] % 2 == 0) return m + rows * step[q];
  return m + (rows / 2) * (step[q] + step[p]) + (rows % 2) * step[q];
}

// The most of `count` rows that keep m below 2^24; m grows with the count.
std::int64_t rows_within_binade(std::int64_t m, std::int64_t count, const std::int32_t step[2]) {
  std::int64_t low = 0, high = count;
  while (low < high) {
    const std::int64_t mid = low + (high - low + 1) / 2;
    if (after_rows(m, mid, step) < kSignificandLimit) low = mid;
    else high = mid - 1;
  }
  return low;
}

}  // namespace

const OracleCrossTermFolder::RowEffect& OracleCrossTermFolder::effect_of(int row_size, float row_square, int binade) {
  const std::size_t key = static_cast<std::size_t>(row_size) * kBinades + (binade - kFirstBinade);
  if (key >= effects_.size()) effects_.resize((key / kBinades + 1) * kBinades);
  Slot& slot = effects_[key];
  if (slot.generation == generation_) return slot.effect;
  slot = {RowEffect{}, generation_};
  RowEffect& effect = slot.effect;
  const ClusterMargins& columns = *columns_;
  const int shift = binade - 23;
  const std::int64_t half = std::int64_t{1} << (shift - 1);
  const auto rsq = static_cast<std::int64_t>(row_square);
  const int t = negligible_tier(row_square, static_cast<double>(half - 1));
  if (t >= columns.tier_count()) {
    effect.valid = true;  // every term below half a spacing: no change
    return effect;
  }
  auto each_column = [&](auto&& visit) {
    if (t < 0) {
      for (int s = 0; s < columns.count(); ++s) visit(s);
    } else {
      for (int s : columns.tier(t)) visit(s);
    }
  };
  bool fits = true;
  for (int start = 0; start < 2; ++start) {
    std::int64_t total = 0;
    int parity = start;
    each_column([&](int s) {
      if (!fits) return;
      const std::int64_t term = rsq * static_cast<std::int64_t>(columns.square(s));
      if (term >= (std::int64_t{1} << 52)) fits = false;
      const std::int64_t whole = term >> shift, rest = term & (2 * half - 1);
      const std::int64_t q = rest < half ? whole : rest > half ? whole + 1 : whole + ((parity + whole) & 1);
      parity = static_cast<int>((parity + q) & 1);
      total += q;
      if (total >= kSignificandLimit) fits = false;  // leaves the binade in one row
    });
    effect.step[start] = static_cast<std::int32_t>(std::min(total, kSignificandLimit));
  }
  effect.valid = fits;
  return effect;
}

// A step of 2^24 or more leaves the binade within one row, so effects are
// only kept below that, which also keeps every product of them in range.
// Adds rows from `row` on, all of one size, while the binade model holds;
// advances `row` and returns false when it could not add any.
bool OracleCrossTermFolder::add_rows_in_binade(float& sum, const ClusterMargins& rows, int& row) {
  const double s = sum;
  if (s < kTwo24 || s >= kTwo52) return false;
  const int binade = exponent_of(sum);
  const RowEffect& effect = effect_of(rows.size(row), rows.square(row), binade);
  if (!effect.valid) return false;
  const int shift = binade - 23;
  const auto m = static_cast<std::int64_t>(s) >> shift;
  const std::int64_t count = rows.run_end(row) - row;
  const std::int64_t added = rows_within_binade(m, count, effect.step);
  if (added == 0) return false;
  sum = static_cast<float>(after_rows(m, added, effect.step) << shift);
  row += static_cast<int>(added);
  return true;
}

float OracleCrossTermFolder::fold(const ClusterMargins& rows) {
  float sum = 0.0f;
  const ClusterMargins& columns = *columns_;
  if (add_exact_span(sum, rows.square_sum(), rows.square_twos(), columns)) return sum;
  int r = next_relevant_row(rows, 0, columns, sum);
  while (r < rows.count()) {
    if (r % ClusterMargins::kBlock == 0) {
      const int b = r / ClusterMargins::kBlock;
      if (add_exact_span(sum, rows.block_square_sum(b), rows.block_square_twos(b), columns)) {
        r = std::min(r + ClusterMargins::kBlock, rows.count());
        r = next_relevant_row(rows, r, columns, sum);
        continue;
      }
    }
    const float row_square = rows.square(r);
    const int exact = add_exact_rows(sum, row_square, rows.run_end(r) - r, columns);
    if (exact > 0) {
      r += exact;
    } else if (!add_rows_in_binade(sum, rows, r)) {
      fold_row(sum, row_square, columns);
      ++r;
    }
    r = next_relevant_row(rows, r, columns, sum);
  }
  return sum;
}

}  // namespace compare::testing_support
