#include "engine/single/fast_margins.h"

#include <algorithm>
#include <bit>

namespace compare::fast {

namespace {

int tiers_for(int size) {  // number of t >= 0 with size > 2^t
  return size > 1 ? std::bit_width(static_cast<unsigned>(size - 1)) : 0;
}

}  // namespace

ClusterMargins::ClusterMargins(std::span<const int> sizes_in_label_order, bool with_tiers) {
  sizes_.reserve(sizes_in_label_order.size());
  int largest_size = 0;
  for (int size : sizes_in_label_order) {
    sizes_.push_back(static_cast<std::uint16_t>(size));
    const float sq = square_of(size);
    const auto whole = static_cast<std::int64_t>(sq);
    square_sum_ += whole;
    square_twos_ = std::min(square_twos_, std::countr_zero(static_cast<std::uint64_t>(whole)));
    if (sq > largest_square_) largest_square_ = sq;
    folded_square_sum_ = static_cast<float>(static_cast<double>(folded_square_sum_) + static_cast<double>(sq));
    largest_size = std::max(largest_size, size);
  }
  run_left_.resize(sizes_.size());
  for (int i = count() - 1; i >= 0; --i) {
    const bool same_as_next = i + 1 < count() && sizes_[i + 1] == sizes_[i] && run_left_[i + 1] < 255;
    run_left_[i] = static_cast<std::uint8_t>(same_as_next ? run_left_[i + 1] + 1 : 1);
  }
  block_largest_.assign((sizes_.size() + kBlock - 1) / kBlock, 0);
  block_square_sum_.assign(block_largest_.size(), 0);
  block_square_twos_.assign(block_largest_.size(), 64);
  for (int i = 0; i < count(); ++i) {
    const int b = i / kBlock;
    block_largest_[b] = std::max(block_largest_[b], sizes_[i]);
    const auto whole = static_cast<std::uint64_t>(square(i));
    block_square_sum_[b] += static_cast<std::int64_t>(whole);
    block_square_twos_[b] = static_cast<std::uint8_t>(std::min<int>(block_square_twos_[b], std::countr_zero(whole)));
  }
  const int tiers = with_tiers ? tiers_for(largest_size) : 0;
  tier_start_.assign(tiers + 1, 0);
  for (int size : sizes_in_label_order) {
    for (int t = 0; t < std::min(tiers, tiers_for(size)); ++t) ++tier_start_[t + 1];
  }
  for (int t = 0; t < tiers; ++t) tier_start_[t + 1] += tier_start_[t];
  tier_indices_.resize(tier_start_[tiers]);
  std::vector<std::uint32_t> fill(tier_start_.begin(), tier_start_.end() - 1);
  for (int i = 0; i < count(); ++i) {
    for (int t = 0; t < std::min(tiers, tiers_for(sizes_[i])); ++t) tier_indices_[fill[t]++] = static_cast<std::uint16_t>(i);
  }
  if (with_tiers) keep_column_tables();
}

int ClusterMargins::leading_sizes_shared(const ClusterMargins& other) const {
  const std::size_t n = std::min(sizes_.size(), other.sizes_.size());
  const auto differ = std::mismatch(sizes_.begin(), sizes_.begin() + static_cast<std::ptrdiff_t>(n), other.sizes_.begin());
  return static_cast<int>(differ.first - sizes_.begin());
}

void ClusterMargins::keep_column_tables() {
  whole_squares_.resize(sizes_.size());
  square_prefix_.assign(sizes_.size() + 1, 0);
  for (int i = 0; i < count(); ++i) {
    whole_squares_[i] = static_cast<std::uint32_t>(square(i));
    square_prefix_[i + 1] = square_prefix_[i] + whole_squares_[i];
  }
  tier_squares_.resize(tier_indices_.size());
  for (std::size_t j = 0; j < tier_indices_.size(); ++j) tier_squares_[j] = whole_squares_[tier_indices_[j]];
  keep_column_blocks();
  std::vector<std::uint16_t> ascending(sizes_);
  std::sort(ascending.begin(), ascending.end());
  for (std::size_t i = 0; i < ascending.size(); ++i) {
    if (i == 0 || ascending[i] != ascending[i - 1]) {
      distinct_sizes_.push_back(ascending[i]);
      distinct_counts_.push_back(0);
    }
    ++distinct_counts_.back();
  }
}

void ClusterMargins::keep_column_blocks() {
  block_entry_start_.assign(1, 0);
  std::uint32_t sorted[kColumnBlock];
  for (int first = 0; first < count(); first += kColumnBlock) {
    const int length = std::min(kColumnBlock, count() - first);
    std::copy_n(whole_squares_.begin() + first, length, sorted);
    std::sort(sorted, sorted + length);
    for (int i = 0; i < length; ++i) {
      if (i == 0 || sorted[i] != sorted[i - 1]) {
        block_squares_.push_back(sorted[i]);
        block_counts_.push_back(0);
      }
      ++block_counts_.back();
    }
    block_entry_start_.push_back(static_cast<std::uint32_t>(block_squares_.size()));
  }
}

std::span<const std::uint32_t> ClusterMargins::squares_from(int t, int from) const {
  if (t < 0) return std::span<const std::uint32_t>(whole_squares_).subspan(static_cast<std::size_t>(from));
  const std::span<const std::uint16_t> indices = tier(t);
  const auto first = std::lower_bound(indices.begin(), indices.end(), from) - indices.begin();
  return {tier_squares_.data() + tier_start_[t] + first, tier_squares_.data() + tier_start_[t + 1]};
}

int ClusterMargins::first_larger(int from, int limit) const {
  int i = from;
  while (i < count() && i % kBlock != 0) {
    if (sizes_[i] > limit) return i;
    ++i;
  }
  if (i >= count()) return count();
  std::size_t block = static_cast<std::size_t>(i / kBlock);
  while (block < block_largest_.size() && block_largest_[block] <= limit) ++block;
  for (i = static_cast<int>(block) * kBlock; i < count(); ++i) {
    if (sizes_[i] > limit) return i;
  }
  return count();
}

}  // namespace compare::fast
