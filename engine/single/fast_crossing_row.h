#pragma once
// One row of the cross term that no shortcut for whole rows covers (its
// own terms take the running sum out of its binade, or no row model
// holds): folded column by column, but in blocks wherever the result is
// known without single steps.
#include <cstdint>
#include <vector>

#include "engine/single/fast_margins.h"

namespace compare::fast {

class CrossingRowFolder {
 public:
  // 256 KiB of block effects a thread, whatever N.
  static constexpr std::size_t kBlockSlots = std::size_t{1} << 14;

  explicit CrossingRowFolder(const ClusterMargins& columns) : columns_(&columns) {}
  void use_columns(const ClusterMargins& columns) {
    columns_ = &columns;
    if (++generation_ == kGenerations) start_generations_over();
  }
  // Adds the terms of one row to `sum`, exactly as the step-by-step fold.
  void fold_row(float& sum, float row_square);

  // Inside the binade of the given shift, what column block `block`
  // (kColumnBlock columns from block * kColumnBlock) adds to the
  // significand m of the sum when m starts even (step[0]) or odd (step[1]),
  // capped at 2^24. Every term must be below 2^52.
  struct BlockEffect {
    std::uint32_t step[2] = {0, 0};
  };
  // Kept for later rows of the same square in the same binade.
  const BlockEffect& block_effect(std::uint64_t row_square, int shift, int block);

 private:
  BlockEffect work_out_block_effect(std::uint64_t row_square, int shift, int block) const;
  void fold_columns_in_binades(float& sum, std::uint64_t row_square, std::size_t from);

  // A slot holds a block effect of the current columns when its key has
  // the current generation in its top 16 bits (and the row square, binade
  // and block below); key 0 is no block's.
  struct Slot {
    std::uint64_t key = 0;
    BlockEffect effect;
  };
  static constexpr std::uint32_t kGenerations = std::uint32_t{1} << 16;
  void start_generations_over();

  const ClusterMargins* columns_;
  std::uint32_t generation_ = 1;
  std::vector<Slot> slots_;  // allocated at the first block effect
};

}  // namespace compare::fast
