#include "engine/single/fast_cross_term.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <span>

#include "engine/single/fast_binade.h"

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
//
// Crossing rows. A row whose own total takes S out of its binade, or that
// no row model covers, is folded column by column by the crossing-row
// folder, in blocks of columns wherever that is exact.
//
// Resuming. Every shortcut starts and ends at a row boundary holding the
// running sum the step-by-step fold has there, and the steps of a row
// depend only on S, the row's size and the columns. So two row partitions
// whose first R rows have equal sizes pass, against the same columns,
// through the same S before each of those rows, and a fold may start from
// any state kept at a row boundary up to R.
//
// Label groups. Inside one binade each row adds step[p] to m, p the parity
// of m where it starts, so consecutive rows compose: from parity p a span
// of rows adds a total[p] found by applying their steps in turn to p (only
// the parity of the starting m matters), and rows no larger than the
// negligible size add 0. When m + total[p] stays below 2^24, so did m after
// every row of the span (m never decreases), and each row's model held. The
// total depends on the rows' sizes, the columns and the binade only, so the
// span of one label group serves every row level with the same rows in it.

namespace compare::fast {

namespace {

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

constexpr int kCheckpointSpacing = 8;

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

}  // namespace

// The first row at or after `row` that can change S, or rows.count(): rows
// no larger than the largest negligible size have only negligible terms.
// That size depends on S only through its negligible limit, which changes
// with the binade, so it is kept until the limit changes.
class RelevantRows {
 public:
  int next(const ClusterMargins& rows, int row, const ClusterMargins& columns, float sum) {
    if (row >= rows.count()) return row;
    const int z = largest_negligible(columns, sum);
    if (rows.size(row) > z) return row;
    return rows.first_larger(row, z);
  }
  int largest_negligible(const ClusterMargins& columns, float sum) {
    const double limit = negligible_limit(sum);
    if (limit != limit_) {
      limit_ = limit;
      largest_negligible_ = largest_negligible_size(columns.largest_square(), limit);
    }
    return largest_negligible_;
  }

 private:
  double limit_ = -1.0;
  int largest_negligible_ = 0;
};

namespace {

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

// The most of `count` rows that keep m below 2^24, by binary search; m
// grows with the count.
std::int64_t rows_within_binade_searched(std::int64_t m, std::int64_t count, const std::int32_t step[2]) {
  std::int64_t low = 0, high = count;
  while (low < high) {
    const std::int64_t mid = low + (high - low + 1) / 2;
    if (after_rows(m, mid, step) < kSignificandLimit) low = mid;
    else high = mid - 1;
  }
  return low;
}

// The same count in closed form from the parity cycle of the steps: once
// the parity is fixed (after at most one row) every row adds the same step,
// or two rows add step[0] + step[1]. The answer is checked against the
// defining property, and the search decides when the check fails. Moves m
// past the rows it counts.
std::int64_t add_rows_within_binade(std::int64_t& m, std::int64_t count, const std::int32_t step_in[2]) {
  const std::int64_t room = kSignificandLimit - 1 - m;  // m may grow by at most this
  if (room < 0 || count == 0) return 0;
  const int p = static_cast<int>(m & 1);
  const std::int64_t first = step_in[p], other = step_in[1 - p];
  std::int64_t rows;
  if (first % 2 == 0) {
    rows = first == 0 ? count : room / first;
  } else if (first > room) {
    rows = 0;
  } else if (other % 2 == 0) {
    rows = 1 + (other == 0 ? count : (room - first) / other);
  } else {
    const std::int64_t pairs = (room) / (first + other);  // rows 2j: m + j (first + other)
    rows = 2 * pairs + (pairs * (first + other) + first <= room ? 1 : 0);
  }
  rows = std::min(rows, count);
  // One more row adds the step for the parity reached.
  const std::int64_t after = after_rows(m, rows, step_in);
  const bool fits = after < kSignificandLimit;
  const bool maximal = rows == count || after + step_in[after & 1] >= kSignificandLimit;
  if (!fits || !maximal) rows = rows_within_binade_searched(m, count, step_in);
  m = fits && maximal ? after : after_rows(m, rows, step_in);
  return rows;
}

}  // namespace

void CrossTermFolder::reserve_sizes(int largest_size) {
  const std::size_t wanted = static_cast<std::size_t>(std::max(largest_size, 1) + 1) * kBinades;
  std::size_t slots = 1;
  while (slots < wanted && slots < most_slots_) slots *= 2;
  if (slots <= effects_.size()) return;
  effects_.assign(slots, Slot{});
  slot_mask_ = static_cast<std::uint32_t>(slots - 1);
}

const CrossTermFolder::RowEffect& CrossTermFolder::effect_of(int row_size, int binade) {
  const std::uint32_t key = key_of(row_size, binade);
  if (const RowEffect* effect = held(key)) return *effect;
  if (key > slot_mask_ && effects_.size() < most_slots_) reserve_sizes(row_size);
  Slot& slot = effects_[key & slot_mask_];
  slot = {RowEffect{}, generation_, key};
  RowEffect& effect = slot.effect;
  const float row_square = ClusterMargins::square_of(row_size);
  const ClusterMargins& columns = *columns_;
  const int shift = binade - 23;
  const std::int64_t half = std::int64_t{1} << (shift - 1);
  const auto rsq = static_cast<std::int64_t>(row_square);
  const int t = negligible_tier(row_square, static_cast<double>(half - 1));
  if (t >= columns.tier_count()) {
    effect.valid = true;  // every term below half a spacing: no change
    return effect;
  }
  if (effect_from_distinct_sizes(effect, rsq, shift, t)) return effect;
  if (t < 0 || columns.tier(t).size() * 8 >= static_cast<std::size_t>(columns.count())) {
    effect_by_column_blocks(effect, rsq, shift);
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
      count_single_steps(1);
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

// The effect from either parity with ties present: blocks without a tie
// add their sum of q and flip the parity by its lowest bit (their q do not
// depend on it); blocks with a tie are taken column by column with the
// parity rule. Columns outside the row's tier add q = 0 either way.
void CrossTermFolder::effect_by_column_blocks(RowEffect& effect, std::int64_t row_square, int shift) {
  const ClusterMargins& columns = *columns_;
  const auto row = static_cast<std::uint64_t>(row_square);
  if (static_cast<double>(row_square) * columns.largest_square() >= kTwo52) return;  // stays invalid
  const int blocks = (columns.count() + ClusterMargins::kColumnBlock - 1) / ClusterMargins::kColumnBlock;
  constexpr auto limit = static_cast<std::uint64_t>(kSignificandLimit);
  // total[p]: what the row adds to an m of parity p so far.
  std::uint64_t total[2] = {0, 0};
  for (int block = 0; block < blocks; ++block) {
    const CrossingRowFolder::BlockEffect& added = crossing_.block_effect(row, shift, block);
    for (int p = 0; p < 2; ++p) total[p] += added.step[(p + total[p]) & 1];
    if (total[0] >= limit || total[1] >= limit) return;  // leaves the binade in one row: stays invalid
  }
  effect.step[0] = static_cast<std::int32_t>(total[0]);
  effect.step[1] = static_cast<std::int32_t>(total[1]);
  effect.valid = true;
}

// When no term of the row is a tie, no q depends on the parity of m, so the
// row adds the same sum of q from either parity, whatever the order of its
// columns: the count of each distinct size times that size's q. Sizes no
// larger than 2^t give q = 0 (their terms are below half a spacing). Returns
// false, leaving the effect alone, when a tie or a term of 2^52 or more
// makes the order matter or the model fail.
bool CrossTermFolder::effect_from_distinct_sizes(RowEffect& effect, std::int64_t row_square, int shift,
                                                 int tier) const {
  const std::span<const std::uint16_t> sizes = columns_->distinct_sizes();
  const std::span<const std::uint32_t> counts = columns_->distinct_counts();
  const std::int64_t half = std::int64_t{1} << (shift - 1);
  const std::int64_t smallest_counted = tier < 0 ? 0 : std::int64_t{1} << tier;
  std::int64_t total = 0;
  for (std::size_t d = sizes.size(); d-- > 0 && sizes[d] > smallest_counted;) {
    const std::int64_t term = row_square * static_cast<std::int64_t>(ClusterMargins::square_of(sizes[d]));
    if (term >= (std::int64_t{1} << 52)) return false;
    const std::int64_t whole = term >> shift, rest = term & (2 * half - 1);
    if (rest == half) return false;
    const std::int64_t q = whole + (rest > half ? 1 : 0);
    total = q >= kSignificandLimit ? kSignificandLimit : total + q * counts[d];  // counts stay below 2^16
    if (total >= kSignificandLimit) break;  // leaves the binade in one row
  }
  effect.valid = total < kSignificandLimit;
  effect.step[0] = effect.step[1] = static_cast<std::int32_t>(std::min(total, kSignificandLimit));
  return true;
}

// A step of 2^24 or more leaves the binade within one row, so effects are
// only kept below that, which also keeps every product of them in range.
// Adds rows from `row` on while S stays in its binade and the binade model
// holds for each: single rows by their step for the parity of m, runs of
// equal rows in closed form, rows no larger than the largest negligible
// size passed over (they add nothing). Stops at the first row that would
// leave the binade or has no model; returns false when it added none.
bool CrossTermFolder::add_rows_in_binade(float& sum, const ClusterMargins& rows, int& row,
                                         RelevantRows& relevant) {
  const double s = sum;
  if (s < kTwo24 || s >= kTwo52) return false;
  const int binade = exponent_of(sum);
  const int shift = binade - 23;
  const int negligible = relevant.largest_negligible(*columns_, sum);
  auto m = static_cast<std::int64_t>(s) >> shift;
  const int start = row;
  int next_checkpoint = checkpoints_.back().row + kCheckpointSpacing;
  const int count = rows.count();
  // The group holding row (starts[group] <= row < starts[group + 1]), and
  // the row from which the group is looked at again: the row itself when a
  // group starts there, else where the next group starts (without groups,
  // never).
  const std::span<const std::uint16_t> starts = groups_ ? groups_->starts : std::span<const std::uint16_t>();
  int group = static_cast<int>(std::upper_bound(starts.begin(), starts.end(), row) - starts.begin()) - 1;
  int next_group_check = !groups_ || row >= count ? count : starts[group] == row ? row : starts[group + 1];
  while (row < count) {
    if (row >= next_checkpoint) {
      checkpoints_.push_back({row, static_cast<float>(m << shift)});
      next_checkpoint = row + kCheckpointSpacing;
    }
    if (row >= next_group_check) {
      while (starts[group + 1] <= row) ++group;
      next_group_check = starts[group + 1];
      if (row == starts[group] && next_group_check - row > 1) {
        const std::int64_t q = group_effect(rows, group, binade, negligible).step[m & 1];
        if (m + q < kSignificandLimit) {  // every row of it stays in the binade, as m never decreases
          m += q;
          row = next_group_check;
          continue;
        }
      }
    }
    const int size = rows.size(row);
    if (size <= negligible) {
      row = rows.first_larger(row, negligible);
      continue;
    }
    const RowEffect& effect = row_effect(size, binade);
    if (!effect.valid) break;
    const int run = rows.run_end(row) - row;
    if (run == 1) {
      const std::int64_t q = effect.step[m & 1];
      if (m + q >= kSignificandLimit) break;
      m += q;
      ++row;
      continue;
    }
    const std::int64_t added = add_rows_within_binade(m, run, effect.step);
    row += static_cast<int>(added);
    if (added < run) break;
  }
  sum = static_cast<float>(m << shift);
  return row > start;
}

const CrossTermFolder::GroupEffect& CrossTermFolder::group_effect(const ClusterMargins& rows, int group, int binade,
                                                                  int negligible) {
  if (group_effects_.empty()) group_effects_.resize(kGroupSlots);
  const auto key = static_cast<std::int64_t>(group) << 21 | std::int64_t{groups_->versions[group]} << 5 |
                   (binade - kFirstBinade);
  const auto hashed = static_cast<std::uint64_t>(key) * 0x9e3779b97f4a7c15u;
  GroupEffect& slot = group_effects_[hashed >> (64 - std::countr_zero(kGroupSlots))];
  if (slot.key != key || slot.generation != generation_) {
    slot.key = key;
    slot.generation = generation_;
    work_out_group_effect(slot, rows, groups_->starts[group], groups_->starts[group + 1], binade, negligible);
  }
  return slot;
}

// The rows' effects composed as the fold meets them: a run of equal rows
// moves m as after_rows says, from the parity m has reached. Rows no
// larger than the negligible size add nothing.
void CrossTermFolder::work_out_group_effect(GroupEffect& effect, const ClusterMargins& rows, int first, int end,
                                            int binade, int negligible) {
  std::int64_t total[2] = {0, 0};
  for (int row = first; row < end;) {
    const int size = rows.size(row);
    if (size <= negligible) {
      row = std::min(rows.first_larger(row, negligible), end);
      continue;
    }
    const RowEffect& effect = row_effect(size, binade);
    const int run = std::min(rows.run_end(row), end) - row;
    for (int p = 0; p < 2; ++p) {
      total[p] = effect.valid ? after_rows(p + total[p], run, effect.step) - p : kSignificandLimit;
      total[p] = std::min(total[p], kSignificandLimit);
    }
    if (total[0] == kSignificandLimit && total[1] == kSignificandLimit) break;
    row += run;
  }
  for (int p = 0; p < 2; ++p) effect.step[p] = static_cast<std::int32_t>(total[p]);
}

CrossTermFolder::Checkpoint CrossTermFolder::resume_at(int rows_as_before) {
  const auto after = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), rows_as_before,
                                      [](int row, const Checkpoint& c) { return row < c.row; });
  checkpoints_.erase(after, checkpoints_.end());
  if (checkpoints_.empty()) checkpoints_.push_back({0, 0.0f});
  return checkpoints_.back();
}

float CrossTermFolder::fold(const ClusterMargins& rows, int rows_as_before, const RowGroupsView* groups) {
  const ClusterMargins& columns = *columns_;
  groups_ = groups;
  auto [r, sum] = resume_at(rows_as_before);
  if (r == 0 && add_exact_span(sum, rows.square_sum(), rows.square_twos(), columns)) return sum;
  RelevantRows relevant;
  r = relevant.next(rows, r, columns, sum);
  while (r < rows.count()) {
    if (r > checkpoints_.back().row) checkpoints_.push_back({r, sum});
    if (r % ClusterMargins::kBlock == 0) {
      const int b = r / ClusterMargins::kBlock;
      if (add_exact_span(sum, rows.block_square_sum(b), rows.block_square_twos(b), columns)) {
        r = std::min(r + ClusterMargins::kBlock, rows.count());
        r = relevant.next(rows, r, columns, sum);
        continue;
      }
    }
    if (add_rows_in_binade(sum, rows, r, relevant)) {
      r = relevant.next(rows, r, columns, sum);
      continue;
    }
    const float row_square = rows.square(r);
    const int exact = add_exact_rows(sum, row_square, rows.run_end(r) - r, columns);
    if (exact > 0) {
      r += exact;
    } else {
      crossing_.fold_row(sum, row_square);
      ++r;
    }
    r = relevant.next(rows, r, columns, sum);
  }
  return sum;
}

}  // namespace compare::fast
