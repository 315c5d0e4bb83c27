#include "engine/single/fast_crossing_row.h"

#include <algorithm>
#include <bit>
#include <span>

#include "engine/single/fast_binade.h"
#include "engine/single/fast_cross_term.h"

// Why a crossing row folded this way gives the step-by-step result (the
// binade model and the negligible terms are argued beside the row folder).
//
// Exact part. While S < 2^24, the partial sums S + square(r) * (c_1 + ... +
// c_j) over the column squares c are whole numbers that grow with j; as
// long as the last of them is at most 2^24, all are 4-byte reals and no
// step rounds, so the exact prefix sums of the column squares and one
// binary search give the exact part at once.
//
// Blocks inside a binade. From 2^24 on, inside one binade, each column adds
// a whole q to the significand m, and q depends on m only through its
// parity, and only at a tie. Before the first tie of a block of columns no
// q depends on m; at the first tie the parity of m is that at the block's
// start plus the q before it; after it every parity follows from the q
// already added. So a block adds to m one of two amounts, fixed by the
// parity of m where it starts, by the row's square and by the binade;
// worked out once, they serve every later row of that square. m never
// decreases, so the block stays in the binade exactly when m plus its
// amount is below 2^24. A block without ties adds the sum of its q, which
// equal squares share, so it is read from its distinct squares with
// counts. A block that would leave the binade is retried in blocks of four
// (bounded by their q plus one per tie, a tie adding its whole part or one
// more), and the one of those that may leave it is folded one column at a
// time, until the column whose q would bring m to 2^24: that step is taken
// as specified, and the next binade starts from its result.
//
// Tiers. Columns whose terms are negligible where the row starts stay
// negligible for the rest of the row (S never decreases), so when few
// columns can change S only their tier is read, in one contiguous run.

namespace compare::fast {

namespace {

constexpr std::size_t kColumnBlock = ClusterMargins::kColumnBlock;
constexpr std::size_t kColumnSubBlock = 4;
constexpr auto kLimit = static_cast<std::uint64_t>(kSignificandLimit);

// A row term by term, passing over the columns that cannot change S.
void fold_row_plainly(float& sum, float row_square, const ClusterMargins& columns) {
  const int t = negligible_tier(row_square, negligible_limit(sum));
  if (t < 0) {
    count_single_steps(static_cast<std::uint64_t>(columns.count()));
    for (int s = 0; s < columns.count(); ++s) sum = cross_term_step(sum, columns.square(s), row_square);
    return;
  }
  if (t >= columns.tier_count()) return;
  count_single_steps(columns.tier(t).size());
  for (int s : columns.tier(t)) sum = cross_term_step(sum, columns.square(s), row_square);
}

// Adds the columns of one row from `from` on while every partial sum stays
// at most 2^24, found on the exact prefix sums of the column squares.
// Returns the first column not added. Needs S < 2^24.
int add_exact_columns(float& sum, std::int64_t row_square, const ClusterMargins& columns, int from) {
  const std::span<const std::int64_t> prefix = columns.square_prefix();
  const auto s = static_cast<std::int64_t>(sum);
  const std::int64_t budget = prefix[from] + (kSignificandLimit - s) / row_square;
  const auto end = std::upper_bound(prefix.begin() + from, prefix.end(), budget) - 1;
  sum = static_cast<float>(s + row_square * (*end - prefix[from]));
  return static_cast<int>(end - prefix.begin());
}

// Adds the columns with the parity rule, one after another; the caller
// knows that m stays in the binade.
void add_columns_with_ties(Binade& b, std::uint64_t row_square, const std::uint32_t* squares, std::size_t count) {
  count_single_steps(count);
  for (std::size_t j = 0; j < count; ++j) {
    const std::uint64_t term = row_square * squares[j], whole = term >> b.shift, rest = term & b.mask;
    b.m += whole + (rest > b.half) + ((rest == b.half) & ((b.m + whole) & 1));
  }
}

// Adds a block of columns when m provably stays in the binade: the sum of
// the q without ties, plus one for each tie, bounds what the block adds.
// Without ties that sum is exact; with ties the block is taken column by
// column with the parity rule. False when the block may leave the binade.
bool add_block(Binade& b, std::uint64_t row_square, const std::uint32_t* squares, std::size_t count) {
  std::uint64_t block_steps = 0, ties = 0;
  for (std::size_t j = 0; j < count; ++j) {
    const std::uint64_t term = row_square * squares[j], rest = term & b.mask;
    block_steps += (term >> b.shift) + (rest > b.half);
    ties += rest == b.half;
  }
  if (b.m + block_steps + ties >= kLimit) return false;
  if (ties == 0) b.m += block_steps;
  else add_columns_with_ties(b, row_square, squares, count);
  return true;
}

// Takes the columns [i, end) in sub-blocks and single steps; returns true
// when S left the binade, with `sum` then holding the result of that step
// and i the next column.
bool fold_columns_stepwise(Binade& b, float& sum, std::uint64_t row_square, const std::uint32_t* squares,
                           std::size_t& i, std::size_t end) {
  while (i < end) {
    const std::size_t sub_end = std::min(i + kColumnSubBlock, end);
    if (add_block(b, row_square, squares + i, sub_end - i)) {
      i = sub_end;
      continue;
    }
    for (; i < sub_end; ++i) {
      count_single_steps(1);
      const std::uint64_t q = b.step_of(row_square * squares[i]);
      if (b.m + q >= kLimit) {
        sum = cross_term_step(b.sum(), static_cast<float>(squares[i]), static_cast<float>(row_square));
        ++i;
        return true;
      }
      b.m += q;
    }
  }
  return false;
}

// Folds the column squares of one row from column i on into S >= 2^24,
// block by block inside each binade, in smaller blocks where a block
// fails, and term by term only in the small block where S leaves the
// binade. Every term must be below 2^52. block_end(i) is where the block
// from i ends; add_whole_block(b, i, end) adds it at once when it
// provably stays in the binade.
template <typename BlockEnd, typename AddWholeBlock>
void fold_in_binades(float& sum, std::uint64_t row_square, std::span<const std::uint32_t> squares, std::size_t i,
                     BlockEnd block_end, AddWholeBlock add_whole_block) {
  const std::size_t n = squares.size();
  while (i < n) {
    if (static_cast<double>(sum) >= kTwo52) {
      count_single_steps(n - i);
      for (; i < n; ++i) sum = cross_term_step(sum, static_cast<float>(squares[i]), static_cast<float>(row_square));
      return;
    }
    Binade b(sum);
    bool left_binade = false;
    while (i < n && !left_binade) {
      const std::size_t end = block_end(i);
      if (add_whole_block(b, i, end)) {
        i = end;
        continue;
      }
      left_binade = fold_columns_stepwise(b, sum, row_square, squares.data(), i, end);
    }
    if (!left_binade) sum = b.sum();
  }
}

// The given squares (a tier's), in blocks of kColumnBlock from the first.
void fold_squares_in_binades(float& sum, std::uint64_t row_square, std::span<const std::uint32_t> squares) {
  fold_in_binades(
      sum, row_square, squares, 0, [&](std::size_t i) { return std::min(i + kColumnBlock, squares.size()); },
      [&](Binade& b, std::size_t i, std::size_t end) {
        return add_block(b, row_square, squares.data() + i, end - i);
      });
}

}  // namespace

// Every column from `from` on; whole column blocks by their effect.
void CrossingRowFolder::fold_columns_in_binades(float& sum, std::uint64_t row_square, std::size_t from) {
  const std::span<const std::uint32_t> squares = columns_->whole_squares();
  fold_in_binades(
      sum, row_square, squares, from,
      [&](std::size_t i) { return std::min((i / kColumnBlock + 1) * kColumnBlock, squares.size()); },
      [&](Binade& b, std::size_t i, std::size_t) {
        if (i % kColumnBlock != 0) return false;
        const BlockEffect& effect = block_effect(row_square, b.shift, static_cast<int>(i / kColumnBlock));
        const std::uint64_t q = effect.step[b.m & 1];
        if (b.m + q >= kLimit) return false;
        b.m += q;
        return true;
      });
}

// Exact columns first, then blocks of columns inside each binade.
void CrossingRowFolder::fold_row(float& sum, float row_square) {
  const ClusterMargins& columns = *columns_;
  if (static_cast<double>(row_square) * columns.largest_square() >= kTwo52) {
    fold_row_plainly(sum, row_square, columns);
    return;
  }
  const auto row_whole = static_cast<std::int64_t>(row_square);
  int from = 0;
  if (static_cast<double>(sum) < kTwo24) {
    from = add_exact_columns(sum, row_whole, columns, 0);
    if (from == columns.count()) return;
    count_single_steps(1);
    sum = cross_term_step(sum, columns.square(from), row_square);
    ++from;
  }
  const double limit = negligible_limit(sum);  // the binade where the rest of the row starts
  const int t = negligible_tier(row_square, limit);
  if (t >= columns.tier_count()) return;
  const auto row = static_cast<std::uint64_t>(row_whole);
  // A short tier is read column by column; otherwise every column, by blocks.
  if (t >= 0 && columns.tier(t).size() * 8 < static_cast<std::size_t>(columns.count() - from)) {
    fold_squares_in_binades(sum, row, columns.squares_from(t, from));
  } else {
    fold_columns_in_binades(sum, row, static_cast<std::size_t>(from));
  }
}

const CrossingRowFolder::BlockEffect& CrossingRowFolder::block_effect(std::uint64_t row_square, int shift,
                                                                      int block) {
  if (slots_.empty()) slots_.resize(kBlockSlots);
  // Squares are below 2^32, shifts below 32 and blocks below 2^11. The
  // blocks of one row and binade take consecutive slots, read in order.
  const std::uint64_t row_key = row_square << 5 | static_cast<std::uint64_t>(shift);
  const std::uint64_t key = std::uint64_t{generation_} << 48 | row_key << 11 | static_cast<std::uint64_t>(block);
  const std::size_t first = (row_key * 0x9e3779b97f4a7c15u) >> (64 - std::countr_zero(kBlockSlots));
  Slot& slot = slots_[(first + static_cast<std::size_t>(block)) & (kBlockSlots - 1)];
  if (slot.key != key) slot = {key, work_out_block_effect(row_square, shift, block)};
  return slot.effect;
}

void CrossingRowFolder::start_generations_over() {
  std::fill(slots_.begin(), slots_.end(), Slot{});
  generation_ = 1;
}

CrossingRowFolder::BlockEffect CrossingRowFolder::work_out_block_effect(std::uint64_t row_square, int shift,
                                                                        int block) const {
  const ClusterMargins& columns = *columns_;
  const std::uint64_t half = std::uint64_t{1} << (shift - 1), mask = 2 * half - 1;
  const std::span<const std::uint32_t> distinct = columns.block_distinct_squares(block);
  const std::span<const std::uint32_t> counts = columns.block_distinct_counts(block);
  std::uint64_t total[2] = {0, 0};
  bool tie = false;
  for (std::size_t j = 0; j < distinct.size(); ++j) {
    const std::uint64_t term = row_square * distinct[j], rest = term & mask;
    total[0] += ((term >> shift) + (rest > half)) * counts[j];
    tie |= rest == half;
  }
  if (!tie) {
    total[1] = total[0];
  } else {
    // Both starting parities in one pass: they share every term and every
    // q but the ties'.
    const std::span<const std::uint32_t> squares = columns.whole_squares();
    const std::size_t first = static_cast<std::size_t>(block) * kColumnBlock;
    const std::size_t end = std::min(first + kColumnBlock, squares.size());
    total[0] = 0;
    count_single_steps(end - first);
    for (std::size_t i = first; i < end; ++i) {
      const std::uint64_t term = row_square * squares[i], whole = term >> shift, rest = term & mask;
      const std::uint64_t q = whole + (rest > half), at_tie = rest == half;
      total[0] += q + (at_tie & (whole + total[0]) & 1);
      total[1] += q + (at_tie & (1 + whole + total[1]) & 1);
    }
  }
  BlockEffect effect;
  for (int p = 0; p < 2; ++p) effect.step[p] = static_cast<std::uint32_t>(std::min(total[p], kLimit));
  return effect;
}

}  // namespace compare::fast
