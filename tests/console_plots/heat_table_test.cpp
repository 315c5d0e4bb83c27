// One measure's table out of the five: its cells and labels, its minimum as
// the minimum report finds it, and its reduction to one value a pixel that
// keeps every minimum.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "console/plots/heat_table.h"
#include "console_plots/support/plot_tables.h"

namespace console::plots {
namespace {

using test::make_tables;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// value(m, k, l) = 10 m + 100 k + l, so every cell tells where it came from.
compare::ComparisonTables numbered_tables() {
  return make_tables({30, 20, 10}, {9, 7, 5, 3}, [](int m, int k, int l) { return float(10 * m + 100 * k + l); });
}

TEST(HeatTableTest, TakesOneMeasuresCellsAndBothSidesClusterCounts) {
  HeatTable table(numbered_tables(), 4);
  ASSERT_EQ(table.rows(), 3);
  ASSERT_EQ(table.columns(), 4);
  EXPECT_EQ(table.value(1, 1), 141.0f);
  EXPECT_EQ(table.value(3, 4), 344.0f);
  EXPECT_EQ(table.value(2, 3), 243.0f);
  EXPECT_EQ(table.row_clusters(3), 10);
  EXPECT_EQ(table.column_clusters(2), 7);
  EXPECT_EQ(table.scale().low(), 141.0f);
  EXPECT_EQ(table.scale().high(), 344.0f);
}

TEST(HeatTableTest, TheMinimumIsTheFirstOfEqualSmallestValuesAndNeverANaN) {
  std::vector<float> cells = {kNaN, 2.0f, 9.0f, 2.0f,  //
                              2.0f, 4.0f, 5.0f, 6.0f,  //
                              7.0f, 8.0f, 2.0f, 9.5f};
  auto tables = make_tables({3, 2, 1}, {4, 3, 2, 1}, [&](int, int k, int l) { return cells[(k - 1) * 4 + (l - 1)]; });
  HeatTable table(tables, 1);
  EXPECT_EQ(table.minimum(), (Cell{1, 2}));
  EXPECT_EQ(table.scale().low(), 2.0f);
  EXPECT_EQ(table.scale().high(), 9.5f);
}

TEST(HeatTableTest, ATableWithoutNumbersHasNoMinimum) {
  auto tables = make_tables({2}, {2, 1}, [](int, int, int) { return kNaN; });
  EXPECT_FALSE(HeatTable(tables, 2).minimum().has_value());
}

TEST(HeatTableTest, ATableWithoutColumnsIsEmpty) {
  auto tables = make_tables({3, 2}, {}, [](int, int, int) { return 0.0f; });
  HeatTable table(tables, 1);
  EXPECT_TRUE(table.empty());
  EXPECT_FALSE(table.minimum().has_value());
}

// The five-object example's minimum report names these cluster counts.
struct ReportedMinimum {
  int m;
  int clusters1;
  int clusters2;
  float value;
};

class FiveObjectMinimumTest : public ::testing::TestWithParam<ReportedMinimum> {};

TEST_P(FiveObjectMinimumTest, IsTheReportedOne) {
  const ReportedMinimum& expected = GetParam();
  compare::Comparison results = test::five_object_results();
  HeatTable table(results.tables, expected.m);
  ASSERT_TRUE(table.minimum().has_value());
  Cell cell = *table.minimum();
  EXPECT_EQ(table.row_clusters(cell.k), expected.clusters1);
  EXPECT_EQ(table.column_clusters(cell.l), expected.clusters2);
  EXPECT_NEAR(table.value(cell.k, cell.l), expected.value, 5e-6);
}

INSTANTIATE_TEST_SUITE_P(Measures, FiveObjectMinimumTest,
                         ::testing::Values(ReportedMinimum{1, 2, 2, 0.75f}, ReportedMinimum{2, 3, 4, 0.3f},
                                           ReportedMinimum{3, 3, 4, 1.73205f}, ReportedMinimum{4, 2, 2, 0.6f},
                                           ReportedMinimum{5, 3, 2, 1.07143f}));

struct SpanCase {
  int p, pixels, cells, first, last;
};

class CellsOfPixelTest : public ::testing::TestWithParam<SpanCase> {};

TEST_P(CellsOfPixelTest, AreTheCellsThePixelTouches) {
  const SpanCase& c = GetParam();
  CellSpan span = cells_of_pixel(c.p, c.pixels, c.cells);
  EXPECT_EQ(span.first, c.first);
  EXPECT_EQ(span.last, c.last);
}

INSTANTIATE_TEST_SUITE_P(Spans, CellsOfPixelTest,
                         ::testing::Values(SpanCase{0, 2, 4, 0, 2}, SpanCase{1, 2, 4, 2, 4}, SpanCase{0, 3, 10, 0, 4},
                                           SpanCase{1, 3, 10, 3, 7}, SpanCase{2, 3, 10, 6, 10},
                                           SpanCase{1, 3, 4, 1, 3}, SpanCase{0, 4, 2, 0, 1}, SpanCase{1, 4, 2, 0, 1},
                                           SpanCase{2, 4, 2, 1, 2}, SpanCase{3, 4, 2, 1, 2}, SpanCase{4, 5, 5, 4, 5}));

TEST(SmallestPerPixelTest, EachPixelHoldsTheSmallestNumberOfItsCells) {
  std::vector<float> cells = {5.0f, 4.0f, 9.0f, kNaN,  //
                              6.0f, 7.0f, 3.0f, 8.0f,  //
                              1.0f, 9.0f, 2.0f, kNaN};
  auto tables = make_tables({3, 2, 1}, {4, 3, 2, 1}, [&](int, int k, int l) { return cells[(k - 1) * 4 + (l - 1)]; });
  // Rows {1, 2} and {2, 3}: the middle row straddles both pixels; columns
  // {1, 2} and {3, 4}.
  std::vector<float> pixels = smallest_per_pixel(HeatTable(tables, 1), QSize(2, 2));
  EXPECT_EQ(pixels, (std::vector<float>{4.0f, 3.0f, 1.0f, 2.0f}));
}

TEST(SmallestPerPixelTest, APixelOfNaNsOnlyHasNoValue) {
  auto tables = make_tables({2, 1}, {2, 1}, [](int, int k, int) { return k == 1 ? kNaN : 1.0f; });
  std::vector<float> pixels = smallest_per_pixel(HeatTable(tables, 1), QSize(1, 2));
  EXPECT_TRUE(std::isnan(pixels[0]));
  EXPECT_EQ(pixels[1], 1.0f);
}

TEST(SmallestPerPixelTest, ASingleMinimumAmongFourMillionCellsKeepsItsPixel) {
  std::vector<int> counts(2000);
  for (int i = 0; i < 2000; ++i) counts[i] = 2001 - i;
  auto tables = make_tables(counts, counts, [](int, int k, int l) { return k == 1234 && l == 777 ? 0.0f : 1.0f; });
  std::vector<float> pixels = smallest_per_pixel(HeatTable(tables, 1), QSize(100, 80));
  // Blocks of 20 columns and 25 rows: cell (1234, 777) is pixel (38, 49).
  std::size_t at = 49 * 100 + 38;
  EXPECT_EQ(pixels[at], 0.0f);
  pixels[at] = 1.0f;
  EXPECT_EQ(pixels, std::vector<float>(100 * 80, 1.0f));
}

TEST(HeatImageTest, ColoursEachPixelByTheScale) {
  auto tables = make_tables({2, 1}, {2, 1}, [](int, int k, int l) { return float(k + l); });
  HeatTable table(tables, 1);
  QImage image = heat_image(table, QSize(2, 2), table.scale());
  EXPECT_EQ(image.pixel(0, 0), viridis_step(0));
  EXPECT_EQ(image.pixel(1, 1), viridis_step(255));
  EXPECT_EQ(image.pixel(1, 0), viridis_step(128));
}

}  // namespace
}  // namespace console::plots
