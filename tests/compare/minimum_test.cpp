#include "compare/minimum.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace compare {
namespace {

TEST(MinimumSearch, StartsEveryRecordAt100WithNoClusterCounts) {
  std::array<MinimumRecord, kMeasureCount> minima;
  minima.fill(MinimumRecord{-3.0f, 8, 9});
  start_minima(minima);
  for (const MinimumRecord& r : minima) {
    EXPECT_EQ(r.smallest, 100.0f);
    EXPECT_EQ(r.clusters1, 0);
    EXPECT_EQ(r.clusters2, 0);
  }
}

TEST(MinimumSearch, TakesOnlyValuesStrictlyBelowTheSmallestSoFar) {
  struct Step {
    float value;
    int clusters1, clusters2;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<Step> steps = {
      {100.0f, 1, 1}, {nan, 2, 2}, {0.5f, 3, 3}, {0.5f, 4, 4}, {nan, 5, 5}, {0.7f, 6, 6}};
  MinimumRecord record;
  for (const Step& s : steps) update_minimum(record, s.value, s.clusters1, s.clusters2);
  EXPECT_EQ(record.smallest, 0.5f);
  EXPECT_EQ(record.clusters1, 3);
  EXPECT_EQ(record.clusters2, 3);
}

TEST(MinimumSearch, NeverRecordsAValueOf100OrMore) {
  MinimumRecord record;
  for (float v : {100.0f, 250.0f, std::numeric_limits<float>::infinity()})
    update_minimum(record, v, 7, 7);
  EXPECT_EQ(record.smallest, 100.0f);
  EXPECT_EQ(record.clusters1, 0);
}

}  // namespace
}  // namespace compare
