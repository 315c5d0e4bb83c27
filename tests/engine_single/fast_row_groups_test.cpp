#include "engine/single/fast_row_groups.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

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

}  // namespace
}  // namespace compare::fast
