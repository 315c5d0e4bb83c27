#include "compare/measures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace compare {
namespace {

// Pair counts worked out directly from two labellings.
PairCounts count_pairs(const std::vector<int>& labels1, const std::vector<int>& labels2) {
  PairCounts c;
  const int n = static_cast<int>(labels1.size());
  for (int i = 0; i < n; ++i) {
    for (int j = i + 1; j < n; ++j) {
      const bool joined1 = labels1[i] == labels1[j];
      const bool joined2 = labels2[i] == labels2[j];
      c.a += joined1 && joined2;
      c.a_plus_b += joined1;
      c.a_plus_c += joined2;
    }
  }
  return c;
}

// Runs the measures on storage of the shapes the program allocates.
struct MeasureRun {
  std::vector<int> table;
  std::vector<float> row_sums, column_sums;
  AgreementMeasures result;

  MeasureRun(std::vector<int> labels1, int c1, std::vector<int> labels2, int c2) {
    const int n = static_cast<int>(labels1.size());
    table.assign(n * n, 77);
    row_sums.assign(n, -1.0f);
    column_sums.assign(n, -1.0f);
    const LabelledPartition p1{IntVector(labels1.data(), n), c1};
    const LabelledPartition p2{IntVector(labels2.data(), n), c2};
    const ContingencyWork work{IntMatrix(table.data(), n, n), RealVector(row_sums.data(), n),
                               RealVector(column_sums.data(), n)};
    result = agreement_measures(n, (n - 1) * n / 2, count_pairs(labels1, labels2), p1, p2, work);
  }
};

// One minus the adjusted Rand index by the usual formula over pair counts of
// the contingency table and its margins.
double one_minus_adjusted_rand(const std::vector<int>& labels1, const std::vector<int>& labels2,
                               int c1, int c2) {
  const int n = static_cast<int>(labels1.size());
  std::vector<std::vector<double>> cells(c1 + 1, std::vector<double>(c2 + 1, 0.0));
  std::vector<double> rows(c1 + 1, 0.0), columns(c2 + 1, 0.0);
  for (int i = 0; i < n; ++i) {
    cells[labels1[i]][labels2[i]] += 1;
    rows[labels1[i]] += 1;
    columns[labels2[i]] += 1;
  }
  auto pairs = [](double x) { return x * (x - 1) / 2; };
  double index = 0, row_pairs = 0, column_pairs = 0;
  for (int r = 1; r <= c1; ++r)
    for (int s = 1; s <= c2; ++s) index += pairs(cells[r][s]);
  for (int r = 1; r <= c1; ++r) row_pairs += pairs(rows[r]);
  for (int s = 1; s <= c2; ++s) column_pairs += pairs(columns[s]);
  const double expected = row_pairs * column_pairs / pairs(n);
  const double maximum = (row_pairs + column_pairs) / 2;
  return 1.0 - (index - expected) / (maximum - expected);
}

TEST(AgreementMeasures, ReproducesTheWorkedExampleStepByStep) {
  MeasureRun run({1, 1, 2, 3, 3}, 3, {1, 1, 1, 1, 2}, 2);
  const AgreementMeasures& m = run.result;
  EXPECT_EQ(m.pairs.a, 1);
  EXPECT_EQ(m.pairs.a_plus_b, 2);
  EXPECT_EQ(m.pairs.a_plus_c, 6);
  EXPECT_EQ(m.disagreements, 6);
  EXPECT_EQ(m.joined_either, 7);
  EXPECT_EQ(m.joined_sum, 8);
  EXPECT_EQ(m.pair_count, 10);
  EXPECT_EQ(run.row_sums[0], 2.0f);
  EXPECT_EQ(run.row_sums[1], 1.0f);
  EXPECT_EQ(run.row_sums[2], 2.0f);
  EXPECT_EQ(run.column_sums[0], 4.0f);
  EXPECT_EQ(run.column_sums[1], 1.0f);
  EXPECT_EQ(m.s1, 9.0f);
  EXPECT_EQ(m.s2, 17.0f);
  EXPECT_EQ(m.s12, 153.0f);
  EXPECT_EQ(m.a_real, 4.0f);
  EXPECT_EQ(m.f_real, 130.0f);
  EXPECT_NEAR(m.expected, 4.4, 1e-12);
  EXPECT_EQ(m.values[0], static_cast<float>(6.0 / 7.0));
  EXPECT_EQ(m.values[1], static_cast<float>(6.0 / 10.0));
  EXPECT_EQ(m.values[2], static_cast<float>(std::sqrt(6.0)));
  EXPECT_EQ(m.values[3], static_cast<float>(6.0 / 8.0));
  // 1 - ((10 - 6) - 4.4) / (10 - 4.4) = 15/14
  EXPECT_EQ(m.values[4], static_cast<float>(15.0 / 14.0));
}

TEST(AgreementMeasures, FillsTheContingencyTableColumnByColumn) {
  MeasureRun run({1, 1, 2, 3, 3}, 3, {1, 1, 1, 1, 2}, 2);
  // (r, s) at (r-1) + 5 (s-1); everything outside the used block cleared.
  const std::vector<int> expected = {2, 1, 1, 0, 0, 0, 0, 1, 0, 0};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(run.table[i], expected[i]) << i;
  for (int i = 10; i < 25; ++i) EXPECT_EQ(run.table[i], 0) << i;
}

TEST(AgreementMeasures, GiveZeroForIdenticalPartitions) {
  const std::vector<std::vector<int>> partitions = {
      {1, 1, 2, 3, 3}, {1, 2, 1, 2, 3}, {1, 1, 1, 1, 2}, {1, 2, 3, 4, 4, 4, 1}};
  for (const auto& labels : partitions) {
    const int c = *std::max_element(labels.begin(), labels.end());
    const AgreementMeasures m = MeasureRun(labels, c, labels, c).result;
    for (int v = 0; v < kMeasureCount; ++v) EXPECT_EQ(m.values[v], 0.0f) << "measure " << v + 1;
  }
}

TEST(AgreementMeasures, FifthValueIsOneMinusTheAdjustedRandIndex) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 200; ++trial) {
    const int n = 3 + static_cast<int>(random() % 38);
    // A partition of n objects has at most n clusters.
    const int c1 = 2 + static_cast<int>(random() % std::min(5, n - 1));
    const int c2 = 2 + static_cast<int>(random() % std::min(5, n - 1));
    std::vector<int> labels1(n), labels2(n);
    for (int i = 0; i < n; ++i) {
      labels1[i] = 1 + static_cast<int>(random() % c1);
      labels2[i] = 1 + static_cast<int>(random() % c2);
    }
    const double reference = one_minus_adjusted_rand(labels1, labels2, c1, c2);
    if (!std::isfinite(reference)) continue;
    const float value = MeasureRun(labels1, c1, labels2, c2).result.values[4];
    EXPECT_NEAR(value, reference, 1e-6 * std::max(1.0, std::fabs(reference))) << "trial " << trial;
  }
}

TEST(AgreementMeasures, FormsTheCubeTermBeyondThirtyTwoBitsFromN1291On) {
  const int n = 1291;
  std::vector<int> labels1(n), labels2(n);
  for (int i = 0; i < n; ++i) {
    labels1[i] = 1 + i % 3;
    labels2[i] = 1 + i % 7;
  }
  const AgreementMeasures m = MeasureRun(labels1, 3, labels2, 7).result;
  const float cube = static_cast<float>(1291.0 * (1291.0 * 1291.0 + 1.0));
  EXPECT_GT(1291.0 * (1291.0 * 1291.0 + 1.0), 2147483647.0);
  EXPECT_EQ(m.f_real, cube);
  EXPECT_TRUE(std::isfinite(m.expected));
  EXPECT_NEAR(m.values[4], one_minus_adjusted_rand(labels1, labels2, 3, 7), 1e-5);
}

TEST(AgreementMeasures, LetDivisionsByZeroGiveNotANumberWithoutStopping) {
  const AgreementMeasures m = MeasureRun({1, 2, 3, 4}, 4, {1, 2, 3, 4}, 4).result;
  EXPECT_TRUE(std::isnan(m.values[0]));
  EXPECT_EQ(m.values[1], 0.0f);
  EXPECT_EQ(m.values[2], 0.0f);
  EXPECT_TRUE(std::isnan(m.values[3]));
  EXPECT_TRUE(std::isnan(m.values[4]));
}

TEST(AgreementMeasures, LeaveAnUnlabelledObjectOutOfTheContingencyTable) {
  MeasureRun run({0, 1, 1}, 1, {1, 1, 0}, 1);
  EXPECT_EQ(run.table, (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace compare
