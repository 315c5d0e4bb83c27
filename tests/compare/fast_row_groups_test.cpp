#include "compare/fast_row_groups.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <vector>

#include "compare/fast_cross_term.h"
#include "support/fast_shapes.h"

namespace compare::fast {
namespace {

// 130 objects: labels 1-64, 65-128 and 129-130 make three groups.
TEST(RowGroups, FollowTheMergesThatTouchEachGroup) {
  LevelledDendrogram d;
  d.object_count = 130;
  d.level_count = 4;
  d.merges = {{1, 2, 1}, {65, 129, 2}, {1, 70, 3}, {1, 3, 4}};
  const RowGroups groups(d);
  struct Expected {
    std::vector<std::uint16_t> starts, versions;
  };
  const std::vector<Expected> levels = {
      {{0, 63, 127, 129}, {1, 0, 0}},  // 2 joins 1: group 0 is one cluster short
      {{0, 63, 127, 128}, {1, 2, 2}},  // 129 joins 65: groups 1 and 2 change
      {{0, 63, 126, 127}, {3, 3, 2}},  // 70 joins 1: groups 0 and 1 change
  };
  for (std::size_t k = 0; k < levels.size(); ++k) {
    const RowGroupsView view = groups.level(static_cast<int>(k));
    EXPECT_EQ(std::vector<std::uint16_t>(view.starts.begin(), view.starts.end()), levels[k].starts) << "level " << k + 1;
    EXPECT_EQ(std::vector<std::uint16_t>(view.versions.begin(), view.versions.end()), levels[k].versions)
        << "level " << k + 1;
  }
}

float plain_fold(const std::vector<int>& rows, const std::vector<int>& columns) {
  const auto square = [](int size) {
    return static_cast<float>(static_cast<double>(static_cast<float>(size)) * static_cast<float>(size));
  };
  float sum = 0.0f;
  for (int r : rows)
    for (int c : columns) sum = static_cast<float>(static_cast<double>(sum) + double{square(c)} * square(r));
  return sum;
}

// Every row level of a dendrogram folded in order with its label groups,
// against column partitions taken in turn and again: the effects of groups
// that stay the same serve later levels, but never other columns.
TEST(RowGroups, FoldEveryLevelAsTheStepByStepFold) {
  std::mt19937_64 random(4242);
  for (const shapes::Shape shape : {shapes::Shape::random_tree, shapes::Shape::giant_cluster}) {
    const int n = 700;
    const LevelledDendrogram rows_tree = level_merges(shapes::make_dendrogram({shape, n, 0, true, true}, random), n);
    const LevelledDendrogram columns_tree =
        level_merges(shapes::make_dendrogram({shapes::Shape::balanced, n, 0, true, true}, random), n);
    const RowGroups groups(rows_tree);
    std::vector<int> sizes, scratch;
    std::vector<std::vector<int>> row_sizes;
    std::vector<ClusterMargins> rows;
    for (int level = 1; level < rows_tree.level_count; ++level) {
      partition_sizes(rows_tree, level, sizes, scratch);
      row_sizes.push_back(sizes);
      rows.emplace_back(sizes, false);
    }
    CrossTermFolder folder((ClusterMargins()));
    for (const int column_level : {400, 600, 400, 150}) {
      partition_sizes(columns_tree, column_level, sizes, scratch);
      const std::vector<int> column_sizes = sizes;
      const ClusterMargins columns(column_sizes);
      folder.use_columns(columns);
      for (std::size_t k = 0; k < rows.size(); ++k) {
        const int as_before = k == 0 ? 0 : rows[k].leading_sizes_shared(rows[k - 1]);
        const RowGroupsView view = groups.level(static_cast<int>(k));
        const float fast = folder.fold(rows[k], as_before, &view);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(fast), std::bit_cast<std::uint32_t>(plain_fold(row_sizes[k], column_sizes)))
            << shapes::shape_name(shape) << ", row level " << k + 1 << ", column level " << column_level;
      }
    }
  }
}

}  // namespace
}  // namespace compare::fast
