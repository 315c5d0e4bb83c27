#include "compare/fast_margins.h"

#include <algorithm>
#include <bit>

namespace compare::fast {

namespace {

int tiers_for(int size) {  // number of t >= 0 with size > 2^t
  return size > 1 ? std::bit_width(static_cast<unsigned>(size - 1)) : 0;
}

}  // namespace

ClusterMargins::ClusterMargins(std::span<const int> sizes_in_label_order) {
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
  run_end_.resize(sizes_.size());
  for (int i = count() - 1; i >= 0; --i) {
    const bool same_as_next = i + 1 < count() && sizes_[i + 1] == sizes_[i];
    run_end_[i] = static_cast<std::uint16_t>(same_as_next ? run_end_[i + 1] : i + 1);
  }
  const int tiers = tiers_for(largest_size);
  tier_start_.assign(tiers + 1, 0);
  for (int size : sizes_in_label_order) {
    for (int t = 0; t < tiers_for(size); ++t) ++tier_start_[t + 1];
  }
  for (int t = 0; t < tiers; ++t) tier_start_[t + 1] += tier_start_[t];
  tier_indices_.resize(tier_start_[tiers]);
  std::vector<std::uint32_t> fill(tier_start_.begin(), tier_start_.end() - 1);
  for (int i = 0; i < count(); ++i) {
    for (int t = 0; t < tiers_for(sizes_[i]); ++t) tier_indices_[fill[t]++] = static_cast<std::uint16_t>(i);
  }
}

}  // namespace compare::fast
