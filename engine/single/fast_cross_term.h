#pragma once
// The cross term of one level pair: the sum over rows r (outer) and columns
// s (inner) of square(column s) * square(row r), each step formed at double
// precision and stored as a 4-byte real. Its value depends on the order of
// the steps, so it is not S1 * S2; the folder gives exactly the bits of the
// step-by-step fold while doing far fewer steps.
#include <cstdint>
#include <vector>

#include "engine/single/fast_crossing_row.h"
#include "engine/single/fast_margins.h"
#include "engine/single/fast_row_groups.h"

namespace compare::fast {

class RelevantRows;

// One step of the fold exactly as specified; used for the steps that no
// shortcut covers.
inline float cross_term_step(float sum, float column_square, float row_square) {
  return static_cast<float>(static_cast<double>(sum) +
                            static_cast<double>(column_square) * static_cast<double>(row_square));
}

// Folds any number of row partitions against one column partition, keeping
// what it learns about the columns (the effect of a whole row inside one
// binade) for later rows of the same size.
class CrossTermFolder {
 public:
  // 2.5 MiB of row effects a thread, whatever N.
  static constexpr std::size_t kMostSlots = std::size_t{1} << 17;

  // most_slots (a power of two) bounds the table of row effects.
  explicit CrossTermFolder(const ClusterMargins& columns, std::size_t most_slots = kMostSlots)
      : columns_(&columns), most_slots_(most_slots), crossing_(columns) {
    reserve_sizes(0);
  }
  // Starts over with another column partition, keeping the table's storage.
  void use_columns(const ClusterMargins& columns) {
    columns_ = &columns;
    ++generation_;
    checkpoints_.clear();
    crossing_.use_columns(columns);
  }
  // rows_as_before: how many leading rows have the sizes of the previous
  // fold's since use_columns. Their states are kept, so the fold resumes
  // near the first row that differs. With the rows' label groups, a group
  // taken whole inside one binade adds its effect at once, kept for every
  // later level with the same rows in that group.
  float fold(const ClusterMargins& rows, int rows_as_before = 0, const RowGroupsView* groups = nullptr);
  // Sizes the table of row effects for rows of up to this size, so that it
  // is allocated once: one slot per size and binade, up to most_slots.
  void reserve_sizes(int largest_size);

  // Within binade e, a row of one size moves the significand m of the sum by
  // step[m mod 2]; valid is false when that model does not apply.
  struct RowEffect {
    std::int32_t step[2] = {0, 0};  // below 2^24 whenever valid
    bool valid = false;
  };

 private:
  const RowEffect& effect_of(int row_size, int binade);
  // The same, with the table lookup that finds it kept (the common case)
  // inline in the row loops.
  const RowEffect& row_effect(int row_size, int binade) {
    const RowEffect* effect = held(key_of(row_size, binade));
    return effect ? *effect : effect_of(row_size, binade);
  }
  bool effect_from_distinct_sizes(RowEffect& effect, std::int64_t row_square, int shift, int tier) const;
  void effect_by_column_blocks(RowEffect& effect, std::int64_t row_square, int shift);
  bool add_rows_in_binade(float& sum, const ClusterMargins& rows, int& row, RelevantRows& relevant);
  // What the rows of one label group add to m in one binade, from an even
  // and an odd m (capped at 2^24, which no group that fits adds); both
  // 2^24 when some row of the group has no model.
  struct GroupEffect {
    std::int64_t key = -1;
    std::uint32_t generation = 0;
    std::int32_t step[2] = {0, 0};
  };
  // 384 KiB of group effects a thread, whatever N.
  static constexpr std::size_t kGroupSlots = std::size_t{1} << 14;
  const GroupEffect& group_effect(const ClusterMargins& rows, int group, int binade, int negligible);
  void work_out_group_effect(GroupEffect& effect, const ClusterMargins& rows, int first, int end, int binade,
                             int negligible);

  // Binades 24 to 51 are the ones the model covers.
  static constexpr int kFirstBinade = 24;
  static constexpr int kBinades = 28;
  // A slot holds the effect of (size, binade) when its key is theirs and its
  // generation the current columns'. Keys map to slots by their low bits,
  // so up to most_slots keys each have their own slot; beyond that (sizes
  // past 4681 by default) keys share slots and an effect pushed out is
  // built again.
  struct Slot {
    RowEffect effect;
    std::uint32_t generation = 0;
    std::uint32_t key = 0;
  };
  static std::uint32_t key_of(int row_size, int binade) {
    return static_cast<std::uint32_t>(row_size) * kBinades + static_cast<std::uint32_t>(binade - kFirstBinade);
  }
  // The slot for a key, or null when it does not hold that key's effect.
  const RowEffect* held(std::uint32_t key) const {
    const Slot& slot = effects_[key & slot_mask_];
    return slot.generation == generation_ && slot.key == key ? &slot.effect : nullptr;
  }

  // The running sum before row `row`, as every step-by-step fold has it.
  struct Checkpoint {
    int row;
    float sum;
  };
  // The last state kept at or before row `rows_as_before`; later ones are dropped.
  Checkpoint resume_at(int rows_as_before);

  const ClusterMargins* columns_;
  std::size_t most_slots_;
  std::vector<Checkpoint> checkpoints_;  // of the last fold, rows ascending
  CrossingRowFolder crossing_;
  std::uint32_t generation_ = 1;
  std::vector<Slot> effects_;  // by key_of(row size, binade), see Slot
  const RowGroupsView* groups_ = nullptr;  // of the rows being folded
  std::vector<GroupEffect> group_effects_;  // allocated at the first group
  std::uint32_t slot_mask_ = 0;
};

inline float fold_cross_term(const ClusterMargins& rows, const ClusterMargins& columns) {
  return CrossTermFolder(columns).fold(rows);
}

}  // namespace compare::fast
