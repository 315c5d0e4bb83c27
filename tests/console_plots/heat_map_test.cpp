// A hand-made 3 x 4 table drawn as a heat map: the picture's size, the
// minimum's cell in the lowest colour and the largest in the highest, the
// cell under a point, and the texts the picture carries; and a minimum
// among four million cells still to be seen.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cmath>

#include "console/plots/heat_map.h"
#include "console/plots/picture.h"
#include "console/plots/render.h"
#include "console_plots/support/plot_tables.h"

namespace console::plots {
namespace {

// Rows of 30, 20 and 10 clusters, columns of 9, 7, 5 and 3; the value grows
// by 0.05 a cell in reading order, from 0.1 at the top left to 0.65 at the
// bottom right.
compare::Comparison three_by_four() {
  return test::make_results(test::make_tables({30, 20, 10}, {9, 7, 5, 3}, [](int, int k, int l) {
    return 0.1f + 0.05f * float((k - 1) * 4 + (l - 1));
  }));
}

// The colour of the pixel a point falls in.
QRgb colour_at(const QImage& image, QPointF point) {
  return image.pixel(static_cast<int>(std::floor(point.x())), static_cast<int>(std::floor(point.y())));
}

QString read_text(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  return QString::fromUtf8(file.readAll());
}

class ThreeByFourTest : public ::testing::Test {
 protected:
  compare::Comparison results = three_by_four();
  Picture picture{results, Measure::adjusted_rand};
  HeatTable table{results.tables, 5};
  QTemporaryDir directory;
};

TEST_F(ThreeByFourTest, TheImageHasTheAskedSizeAndTheEndsOfTheColourMap) {
  QImage image = render_image(picture, QSize(400, 300));
  ASSERT_EQ(image.size(), QSize(400, 300));
  HeatMapLayout layout = lay_out_heat_map(table, QRectF(0, 0, 400, 300), &image);
  EXPECT_EQ(colour_at(image, layout.cell_rect({1, 1}).center()), viridis_step(0));
  EXPECT_EQ(colour_at(image, layout.cell_rect({3, 4}).center()), viridis_step(255));
  // 0.35 lies 0.25 / 0.55 of the way up: step 115.9, so 116.
  EXPECT_EQ(colour_at(image, layout.cell_rect({2, 2}).center()), viridis_step(116));
}

TEST_F(ThreeByFourTest, TheCellsSitInRowsOfDendrogramOneAndColumnsOfDendrogramTwo) {
  QRectF area(0, 0, 400, 300);
  HeatMapLayout layout = lay_out_heat_map(table, area, nullptr);
  EXPECT_LT(layout.cell_rect({1, 1}).center().y(), layout.cell_rect({3, 1}).center().y());
  EXPECT_LT(layout.cell_rect({1, 1}).center().x(), layout.cell_rect({1, 4}).center().x());
  EXPECT_TRUE(area.contains(layout.cells));
  EXPECT_TRUE(area.contains(layout.colour_bar));
  EXPECT_GT(layout.colour_bar.left(), layout.cells.right());
  EXPECT_EQ(layout.labelled_rows, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(layout.labelled_columns, (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(ThreeByFourTest, ThePointOverACellNamesItsClustersHeightsAndValue) {
  QRectF area(0, 0, 400, 300);
  HeatMapLayout layout = lay_out_heat_map(table, area, nullptr);
  std::optional<Cell> cell = picture.cell_at(area, layout.cell_rect({2, 3}).center(), nullptr);
  ASSERT_EQ(cell, (Cell{2, 3}));
  // Heights 0.5 k and 0.25 l; the value 0.1 + 0.05 * 6.
  EXPECT_EQ(picture.describe(*cell).toStdString(), "clusters 20 and 5, heights 1 and 0.75, value 0.40000");
  EXPECT_FALSE(picture.cell_at(area, QPointF(1, 1), nullptr).has_value());
  EXPECT_FALSE(Picture(results, Measure::agreement).cell_at(area, layout.cells.center(), nullptr).has_value());
}

TEST_F(ThreeByFourTest, TheSvgCarriesTheTitleAxisTitlesLabelsAndMinimum) {
  QString path = directory.filePath("table.svg");
  std::string error;
  ASSERT_TRUE(write_picture(picture, path, QSize(400, 300), &error)) << error;
  QString svg = read_text(path);
  for (const char* text : {"1 - ADJUSTED RAND", "clusters in dendrogram 1", "clusters in dendrogram 2",
                           "minimum 0.10000 at 30 and 9 clusters", ">30<", ">20<", ">10<", ">9<", ">7<", ">5<", ">3<"}) {
    EXPECT_TRUE(svg.contains(QString::fromLatin1(text))) << text;
  }
}

TEST(HeatMapTest, ASingleMinimumAmongFourMillionCellsIsSeenInItsColour) {
  std::vector<int> counts(2000);
  for (int i = 0; i < 2000; ++i) counts[i] = 2001 - i;
  compare::Comparison results = test::make_results(
      test::make_tables(counts, counts, [](int m, int k, int l) { return m == 2 && k == 1234 && l == 777 ? 0.0f : 1.0f; }));
  HeatTable table(results.tables, 2);
  QImage image = render_image(Picture(results, Measure::rand), QSize(500, 400));
  HeatMapLayout layout = lay_out_heat_map(table, QRectF(0, 0, 500, 400), &image);
  EXPECT_EQ(colour_at(image, layout.cell_rect({1234, 777}).center()), viridis_step(0));
  EXPECT_EQ(colour_at(image, layout.cell_rect({1000, 1000}).center()), viridis_step(255));
}

TEST(HeatMapTest, ATableWithoutLevelPairsSaysSo) {
  compare::Comparison results = test::make_results(test::make_tables({3, 2}, {}, [](int, int, int) { return 0.0f; }));
  QTemporaryDir directory;
  QString path = directory.filePath("empty.svg");
  ASSERT_TRUE(write_picture(Picture(results, Measure::jaccard), path, QSize(300, 200), nullptr));
  EXPECT_TRUE(read_text(path).contains("No level pairs were compared"));
}

}  // namespace
}  // namespace console::plots
