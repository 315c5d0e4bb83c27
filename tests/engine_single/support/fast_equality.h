#pragma once
// Bitwise comparison of two engines' results, reporting the first mismatch.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

#include "model/tables.h"

namespace compare::testing_support {

inline ::testing::AssertionResult bitwise_equal(const ComparisonTables& expected, const ComparisonTables& actual) {
  auto bits = [](float v) { return std::bit_cast<std::uint32_t>(v); };
  if (expected.levels1 != actual.levels1 || expected.levels2 != actual.levels2)
    return ::testing::AssertionFailure() << "level counts differ";
  if (expected.cluster_counts1 != actual.cluster_counts1) return ::testing::AssertionFailure() << "counts1 differ";
  if (expected.cluster_counts2 != actual.cluster_counts2) return ::testing::AssertionFailure() << "counts2 differ";
  if (expected.values.size() != actual.values.size()) return ::testing::AssertionFailure() << "table sizes differ";
  for (std::size_t i = 0; i < expected.values.size(); ++i) {
    if (bits(expected.values[i]) != bits(actual.values[i]))
      return ::testing::AssertionFailure() << "value " << i << " (cell " << i / kMeasureCount << ", measure "
                                           << i % kMeasureCount + 1 << "): " << expected.values[i] << " vs "
                                           << actual.values[i];
  }
  for (int m = 0; m < kMeasureCount; ++m) {
    const MinimumRecord& e = expected.minima[m];
    const MinimumRecord& a = actual.minima[m];
    if (bits(e.smallest) != bits(a.smallest) || e.clusters1 != a.clusters1 || e.clusters2 != a.clusters2)
      return ::testing::AssertionFailure() << "minimum " << m + 1 << " differs";
  }
  return ::testing::AssertionSuccess();
}

}  // namespace compare::testing_support
