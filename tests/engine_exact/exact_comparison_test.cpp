// Exact comparisons through the engine API: the worked five-object example,
// the top levels against the full tables, counts past 32 bits against their
// closed form, memory refused before it is spent, and a dendrogram of a
// single level.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "engine/engine.h"

namespace compare {
namespace {

DendrogramFile five1() { return {5, {{1, 2, 0, 0, 0.5f}, {4, 5, 0, 0, 0.5f}, {3, 4, 0, 0, 1.0f}, {1, 3, 0, 0, 2.0f}}}; }
DendrogramFile five2() { return {5, {{1, 3, 0, 0, 1.0f}, {2, 4, 0, 0, 2.0f}, {1, 2, 0, 0, 3.0f}, {1, 5, 0, 0, 4.0f}}}; }

// Object 1 takes in objects 2, 3, ... one a merge, at heights 1, 2, ...: the
// partition at level k is {1..k+1} and singletons, which joins k(k+1)/2 pairs.
DendrogramFile caterpillar(int n) {
  DendrogramFile file{n, {}};
  for (int i = 2; i <= n; ++i) file.merges.push_back({1, i, 0, 0, static_cast<float>(i - 1)});
  return file;
}

// Merges of random current clusters, heights m / ties_every (ties when above 1).
DendrogramFile random_tree(int n, int ties_every, std::mt19937& random) {
  DendrogramFile file{n, {}};
  std::vector<int> names(n);
  for (int i = 0; i < n; ++i) names[i] = i + 1;
  for (int m = 0; m < n - 1; ++m) {
    std::swap(names[random() % names.size()], names.back());
    const int a = names.back();
    names.pop_back();
    int& b = names[random() % names.size()];
    file.merges.push_back({a, b, 0, 0, static_cast<float>(m / ties_every)});
    b = std::min(a, b);
  }
  return file;
}

CompareOptions exact_options(int max_clusters = 0) {
  CompareOptions options;
  options.precision = Precision::exact;
  options.max_clusters = max_clusters;
  return options;
}

TEST(ExactComparison, TheFiveObjectExampleGivesItsPairCountsAndValues) {
  const Comparison c = run_comparison(five1(), five2(), exact_options());
  ASSERT_EQ(c.rows(), 2);
  ASSERT_EQ(c.columns(), 3);
  EXPECT_EQ(c.clusters1, (std::vector<int>{3, 2}));
  EXPECT_EQ(c.clusters2, (std::vector<int>{4, 3, 2}));
  // D, U, W of the worked example at every level pair, NP = 10.
  const int d[2][3] = {{3, 4, 6}, {5, 6, 6}}, u[2][3] = {{3, 4, 7}, {5, 6, 8}}, w[2][3] = {{3, 4, 8}, {5, 6, 10}};
  for (int k = 1; k <= 2; ++k)
    for (int l = 1; l <= 3; ++l) {
      const ExactValues v = c.exact(k, l);
      EXPECT_EQ(v.jaccard, double(d[k - 1][l - 1]) / u[k - 1][l - 1]);
      EXPECT_EQ(v.rand, double(d[k - 1][l - 1]) / 10);
      EXPECT_EQ(v.euclidean, std::sqrt(double(d[k - 1][l - 1])));
      EXPECT_EQ(v.sorensen, double(d[k - 1][l - 1]) / w[k - 1][l - 1]);
    }
  // At (1, 3): a = 1, b = 1, c = 5, d = 3: ARI = 2(ad - bc) / ((a+b)(b+d) + (a+c)(c+d)).
  EXPECT_DOUBLE_EQ(c.exact(1, 3).adjusted_rand, 1.0 - 2.0 * (1 * 3 - 1 * 5) / (2 * 4 + 6 * 8));
  EXPECT_TRUE(c.tables.values.empty());  // no single-precision table was made
  const auto minima = exact_minima(c);
  EXPECT_EQ(minima[1].smallest, 0.3);  // 1 - Rand is smallest at (1, 1): clusters 3 and 4
  EXPECT_EQ(minima[1].clusters1, 3);
  EXPECT_EQ(minima[1].clusters2, 4);
}

TEST(ExactComparison, TopLevelsAreTheirCellsOfTheFullTables) {
  std::mt19937 random(17);
  for (int trial = 0; trial < 20; ++trial) {
    const int n = 30 + trial * 7;
    const DendrogramFile files[2] = {random_tree(n, 1 + trial % 3, random), random_tree(n, 1 + trial % 3, random)};
    const Comparison full = run_comparison(files[0], files[1], exact_options());
    const int max_clusters = 2 + trial % 12;
    const Comparison top = run_comparison(files[0], files[1], exact_options(max_clusters));
    ASSERT_GT(top.rows(), 0);
    EXPECT_LE(top.clusters1.front(), max_clusters);
    if (top.base_level1 > 1) {
      EXPECT_GT(full.clusters1[top.base_level1 - 2], max_clusters);  // the lowest that fits
    }
    for (int k = 1; k <= top.rows(); ++k)
      for (int l = 1; l <= top.columns(); ++l) {
        const PairCounts expected = full.counts(top.base_level1 + k - 1, top.base_level2 + l - 1);
        const PairCounts got = top.counts(k, l);
        ASSERT_EQ(got.both, expected.both);
        ASSERT_EQ(got.first, expected.first);
        ASSERT_EQ(got.second, expected.second);
      }
    EXPECT_EQ(top.heights1.front(), full.heights1[top.base_level1 - 1]);
  }
}

// The table loops work two cells at a time where they can; every cell must
// still be the value of the one pure function of its counts, to the bit.
TEST(ExactComparison, WholeTablesAreTheValuesOfTheirCellsCounts) {
  std::mt19937 random(5);
  // 301 objects: an odd number of columns leaves one cell for the plain loop.
  const DendrogramFile first = random_tree(301, 1, random), second = random_tree(301, 1, random);
  const Comparison c = run_comparison(first, second, exact_options());
  ASSERT_EQ(c.columns() % 2, 1);
  std::vector<double> table(static_cast<std::size_t>(c.rows()) * c.columns());
  for (int m = 0; m < kExactMeasureCount; ++m) {
    const auto measure = static_cast<ExactMeasure>(m);
    fill_exact_rows(c, measure, 1, c.rows(), table.data());
    for (int k = 1; k <= c.rows(); ++k)
      for (int l = 1; l <= c.columns(); ++l) {
        const double expected = exact_value(measure, c.counts(k, l));
        ASSERT_EQ(std::memcmp(&table[(k - 1) * c.columns() + (l - 1)], &expected, sizeof expected), 0)
            << "measure " << m << " at " << k << ", " << l;
      }
  }
}

TEST(ExactComparison, CountsPast32BitsFollowTheirClosedForm) {
  const int n = 100000;  // N(N-1)/2 = 4 999 950 000 pairs, past 2^32
  const DendrogramFile tree = caterpillar(n);
  const Comparison c = run_comparison(tree, tree, exact_options(4));
  ASSERT_EQ(c.rows(), 3);  // levels N-4, N-3, N-2: 4, 3 and 2 clusters
  EXPECT_EQ(c.base_level1, n - 4);
  const auto joined = [](std::int64_t level) { return level * (level + 1) / 2; };
  for (int k = 1; k <= 3; ++k)
    for (int l = 1; l <= 3; ++l) {
      const std::int64_t level1 = n - 5 + k, level2 = n - 5 + l;
      EXPECT_EQ(c.counts(k, l).both, joined(std::min(level1, level2)));
      EXPECT_EQ(c.counts(k, l).first, joined(level1));
    }
  EXPECT_GT(c.counts(3, 3).both, std::int64_t(1) << 32);
  EXPECT_EQ(c.exact(3, 3).adjusted_rand, 0.0);
  EXPECT_EQ(c.exact(2, 2).jaccard, 0.0);
}

TEST(ExactComparison, TablesThatCannotFitAreRefusedBeforeAnyIsAllocated) {
  // 46340 objects: the single-precision tables would take 43 GB.
  const DendrogramFile tree = caterpillar(46340);
  CompareOptions single;
  single.memory_limit = std::uint64_t(1) << 30;
  try {
    run_comparison(tree, tree, single);
    FAIL() << "not refused";
  } catch (const InputError& e) {
    EXPECT_EQ(std::string(e.what()),
              "the comparison needs 42.9 GB for its tables, more than the 1.1 GB of memory available; exact values "
              "(--exact) need 8.6 GB, and --max-clusters K less");
  }
  CompareOptions exact = exact_options();
  exact.memory_limit = std::uint64_t(1) << 30;
  EXPECT_THROW(run_comparison(tree, tree, exact), InputError);
  exact.max_clusters = 100;
  EXPECT_EQ(run_comparison(tree, tree, exact).rows(), 99);  // the top levels fit
}

TEST(ExactComparison, OnlyExactCountsGoBeyondTheSinglePrecisionLimit) {
  const DendrogramFile tree = caterpillar(46341);
  try {
    run_comparison(tree, tree, {});
    FAIL() << "not refused";
  } catch (const InputError& e) {
    EXPECT_NE(std::string(e.what()).find("--exact"), std::string::npos) << e.what();
  }
  EXPECT_EQ(run_comparison(tree, tree, exact_options(10)).rows(), 9);
}

// Five objects merged at one height: one level, the top, which is never
// compared. The other dendrogram's levels keep their real cluster counts
// and heights, in either precision; the front ends refuse such a
// comparison, naming the dendrogram of a single level (the first of two).
TEST(ExactComparison, ASingleLevelComparesNoPairAndTheOtherKeepsItsCounts) {
  const DendrogramFile flat{5, {{1, 2, 0, 0, 1.0f}, {3, 4, 0, 0, 1.0f}, {1, 3, 0, 0, 1.0f}, {1, 5, 0, 0, 1.0f}}};
  for (const Precision precision : {Precision::single, Precision::exact}) {
    CompareOptions options;
    options.precision = precision;
    options.keep_pair_counts = true;
    const Comparison rows = run_comparison(five1(), flat, options);
    EXPECT_EQ(rows.columns(), 0);
    EXPECT_EQ(rows.clusters1, (std::vector<int>{3, 2}));
    EXPECT_EQ(rows.heights1, (std::vector<float>{0.5f, 1.0f}));
    const Comparison columns = run_comparison(flat, five2(), options);
    EXPECT_EQ(columns.rows(), 0);
    EXPECT_EQ(columns.clusters2, (std::vector<int>{4, 3, 2}));
  }
  const DendrogramFile two{2, {{1, 2, 0, 0, 3.0f}}};
  const struct {
    DendrogramFile first, second;
    std::string message;
  } cases[] = {
      {five1(), flat, "dendrogram b.den has a single level; there is nothing to compare"},
      {flat, five2(), "dendrogram a.den has a single level; there is nothing to compare"},
      {flat, flat, "dendrogram a.den has a single level; there is nothing to compare"},
      {two, two, "dendrogram a.den has a single level; there is nothing to compare"},
  };
  for (const auto& c : cases) {
    try {
      check_levels_to_compare(c.first, "a.den", c.second, "b.den");
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const InputError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
  EXPECT_NO_THROW(check_levels_to_compare(five1(), "a.den", five2(), "b.den"));
}

}  // namespace
}  // namespace compare
