#pragma once
// The margins of one partition as the cross term needs them: cluster sizes in
// label order (order of smallest object), their squares as stored 4-byte
// reals, and index lists that let the fold jump over clusters too small to
// change the running sum.
#include <cstdint>
#include <span>
#include <vector>

namespace compare::fast {

class ClusterMargins {
 public:
  static constexpr int kBlock = 64;

  ClusterMargins() = default;
  // Without tiers the margins take less memory (for the many row levels
  // kept at once) and are searched through block maxima instead; the
  // contiguous column tables below come with the tiers.
  explicit ClusterMargins(std::span<const int> sizes_in_label_order, bool with_tiers = true);

  int count() const { return static_cast<int>(sizes_.size()); }
  // How many leading entries have the same sizes in both.
  int leading_sizes_shared(const ClusterMargins& other) const;
  int size(int index) const { return sizes_[index]; }
  // The square of a margin as the comparison stores it: a 4-byte real,
  // exact below 4097 and rounded to nearest above.
  float square(int index) const { return square_of(sizes_[index]); }
  static float square_of(int size) {
    return static_cast<float>(static_cast<double>(size) * static_cast<double>(size));
  }

  // Exact integer sum of the stored squares (each is a whole number).
  std::int64_t square_sum() const { return square_sum_; }
  // Largest power of two dividing every stored square.
  int square_twos() const { return square_twos_; }
  float largest_square() const { return largest_square_; }
  // The sum of squares folded in label order with a 4-byte store per step.
  float folded_square_sum() const { return folded_square_sum_; }

  // One past the last index of the run of equal sizes that holds `index`,
  // or of its first 255 entries: lengths are kept in one byte to save
  // memory, and a longer run is simply taken in several pieces.
  int run_end(int index) const { return index + run_left_[index]; }

  // Blocks of kBlock consecutive entries (the last may be shorter): the exact
  // sum of their stored squares and the power of two dividing all of them.
  int block_count() const { return static_cast<int>(block_largest_.size()); }
  std::int64_t block_square_sum(int block) const { return block_square_sum_[block]; }
  int block_square_twos(int block) const { return block_square_twos_[block]; }

  // The first index at or after `from` whose size exceeds `limit`, or
  // count() when there is none.
  int first_larger(int from, int limit) const;

  // Tier t lists, ascending, the indices whose size exceeds 2^t. Every index
  // outside tier t has a square of at most 4^t.
  int tier_count() const { return static_cast<int>(tier_start_.size()) - 1; }
  std::span<const std::uint16_t> tier(int t) const {
    return {tier_indices_.data() + tier_start_[t], tier_indices_.data() + tier_start_[t + 1]};
  }

  // Kept only with tiers, for the column side of the fold, which reads them
  // in long contiguous runs.
  // The stored squares as whole numbers (each is below 2^32), in label order.
  std::span<const std::uint32_t> whole_squares() const { return whole_squares_; }
  // The squares of tier t from index `from` on, or of every index from
  // `from` on when t < 0, in label order.
  std::span<const std::uint32_t> squares_from(int t, int from) const;
  // square_prefix()[j] is the exact sum of the first j stored squares.
  std::span<const std::int64_t> square_prefix() const { return square_prefix_; }
  // The distinct sizes, ascending, each with the number of entries of that size.
  std::span<const std::uint16_t> distinct_sizes() const { return distinct_sizes_; }
  std::span<const std::uint32_t> distinct_counts() const { return distinct_counts_; }
  // Column blocks of kColumnBlock consecutive entries (the last may be
  // shorter), each summarised by its distinct squares with their counts.
  static constexpr int kColumnBlock = 32;
  std::span<const std::uint32_t> block_distinct_squares(int block) const {
    return {block_squares_.data() + block_entry_start_[block], block_squares_.data() + block_entry_start_[block + 1]};
  }
  std::span<const std::uint32_t> block_distinct_counts(int block) const {
    return {block_counts_.data() + block_entry_start_[block], block_counts_.data() + block_entry_start_[block + 1]};
  }

 private:
  void keep_column_tables();
  void keep_column_blocks();

  std::vector<std::uint16_t> sizes_;
  std::vector<std::uint8_t> run_left_;
  std::vector<std::uint16_t> block_largest_;  // largest size per block of kBlock entries
  std::vector<std::int64_t> block_square_sum_;
  std::vector<std::uint8_t> block_square_twos_;
  std::vector<std::uint32_t> tier_start_;
  std::vector<std::uint16_t> tier_indices_;
  std::vector<std::uint32_t> tier_squares_;  // the squares of tier_indices_
  std::vector<std::uint32_t> whole_squares_;
  std::vector<std::int64_t> square_prefix_;
  std::vector<std::uint16_t> distinct_sizes_;
  std::vector<std::uint32_t> distinct_counts_;
  std::vector<std::uint32_t> block_entry_start_;
  std::vector<std::uint32_t> block_squares_;
  std::vector<std::uint32_t> block_counts_;
  std::int64_t square_sum_ = 0;
  int square_twos_ = 64;
  float largest_square_ = 0.0f;
  float folded_square_sum_ = 0.0f;
};

}  // namespace compare::fast
