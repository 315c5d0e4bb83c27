// The levels where both dendrograms have the same number of clusters, and
// the line plot of the measures there.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "console/plots/agreement_plot.h"
#include "console/plots/render.h"
#include "console_plots/support/plot_tables.h"

namespace console::plots {
namespace {

struct EqualCase {
  std::vector<int> counts1, counts2;
  std::vector<std::array<int, 3>> expected;  // clusters, k, l
};

class EqualCountLevelsTest : public ::testing::TestWithParam<EqualCase> {};

TEST_P(EqualCountLevelsTest, PairsTheLevelsWithTheSameClusterCount) {
  const EqualCase& c = GetParam();
  auto tables = test::make_tables(c.counts1, c.counts2, [](int, int, int) { return 0.0f; });
  std::vector<std::array<int, 3>> found;
  for (const EqualCount& e : equal_count_levels(tables)) found.push_back({e.clusters, e.k, e.l});
  EXPECT_EQ(found, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, EqualCountLevelsTest,
    ::testing::Values(EqualCase{{3, 2}, {4, 3, 2}, {{3, 1, 2}, {2, 2, 3}}},
                      EqualCase{{10, 8, 5, 2}, {9, 8, 6, 5, 3}, {{8, 2, 2}, {5, 3, 4}}},
                      EqualCase{{7, 4}, {6, 5, 3}, {}}, EqualCase{{0}, {0}, {}}, EqualCase{{3, 2}, {}, {}}));

QString svg_of(const compare::Comparison& results) {
  QTemporaryDir directory;
  QString path = directory.filePath("agreement.svg");
  EXPECT_TRUE(write_picture(Picture(results, Measure::agreement), path, QSize(800, 600), nullptr));
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  return QString::fromUtf8(file.readAll());
}

TEST(AgreementPlotTest, NamesEachMeasureInItsLegendAndTheAxes) {
  QString svg = svg_of(test::five_object_results());
  for (const char* text : {"Agreement at equal cluster counts", "1 - jaccard", "1 - simple match = 1 - RAND",
                           "Euclidean", "1 - Sorensen", "1 - ADJUSTED RAND", "clusters in both dendrograms",
                           "dissimilarity"}) {
    EXPECT_TRUE(svg.contains(QString::fromLatin1(text))) << text;
  }
}

TEST(AgreementPlotTest, SaysSoWhenNoCountsAreEqual) {
  compare::Comparison results =
      test::make_results(test::make_tables({7, 4}, {6, 5, 3}, [](int, int, int) { return 0.5f; }));
  EXPECT_TRUE(svg_of(results).contains("No level of the two dendrograms has the same number of clusters"));
}

}  // namespace
}  // namespace console::plots
