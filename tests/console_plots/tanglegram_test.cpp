// The tanglegram of two five-object trees worked by hand: the picture's
// size, the colour of the one object that moves, the labels in the SVG, the
// object under the pointer; and a collapsed picture whose bands tile their
// blocks without a gap.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <random>

#include "console/plots/picture.h"
#include "console/plots/render.h"
#include "console/plots/tanglegram_geometry.h"
#include "console/plots/tanglegram_plot.h"

namespace console::plots {
namespace {

// Dendrogram 1 at two clusters: {1,2} {3,4,5}; dendrogram 2 at three:
// {1,2} {3,4} {5}, the most like it by adjusted Rand (0.545 against -0.15
// for {1,2,3,4} {5}). Cluster {3,4,5} holds most of {3,4}, so object 5
// alone has moved. Both trees draw the objects in the order 1..5.
compare::Comparison five_objects() {
  const compare::DendrogramFile first{5, {{1, 2, 0, 0, 1}, {4, 5, 0, 0, 2}, {3, 4, 0, 0, 3}, {1, 3, 0, 0, 4}}};
  const compare::DendrogramFile second{5, {{1, 2, 0, 0, 1}, {3, 4, 0, 0, 2}, {1, 3, 0, 0, 3}, {1, 5, 0, 0, 4}}};
  compare::CompareOptions exact;
  exact.precision = compare::Precision::exact;
  return compare::run_comparison(first, second, exact);
}

const std::vector<QString> kNames = {"alpha", "beta", "gamma", "delta", "epsilon"};

QRgb colour_at(const QImage& image, QPointF point) {
  return image.pixel(static_cast<int>(std::floor(point.x())), static_cast<int>(std::floor(point.y())));
}

class FiveObjectTanglegram : public ::testing::Test {
 protected:
  compare::Comparison results = five_objects();
  Picture picture{results, Measure::tanglegram, {kNames, 2, false}};
  const QRectF area{0, 0, 1000, 750};
};

TEST_F(FiveObjectTanglegram, ColoursTheLevelPairAndFindsTheObjectThatMoved) {
  const compare::Tanglegram& t = *picture.tanglegram();
  EXPECT_EQ(t.clusters1, 2);
  EXPECT_EQ(t.clusters2, 3);
  EXPECT_EQ(t.order1, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(t.order2, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(t.cluster1, (std::vector<int>{0, 0, 1, 1, 1}));
  EXPECT_EQ(t.cluster2, (std::vector<int>{0, 0, 1, 1, 2}));
  EXPECT_EQ(t.moved, (std::vector<char>{0, 0, 0, 0, 1}));
  EXPECT_EQ(t.entanglement, 0.0);
  EXPECT_EQ(tanglegram_title(t), "Tanglegram: entanglement 0.0000, 2 and 3 clusters, 1 object moved");
}

TEST_F(FiveObjectTanglegram, DrawsTheMovedLineBoldInItsClustersColour) {
  const QImage image = render_image(picture, area.size().toSize());
  ASSERT_EQ(image.size(), QSize(1000, 750));
  const TanglegramGeometry g = lay_out_tanglegram(*picture.tanglegram(), kNames, area, &image);
  const auto along = [&](int position, double s) {
    return QPointF(g.line_left() + s * (g.line_right() - g.line_left()), g.y1[position]);
  };
  EXPECT_EQ(colour_at(image, along(4, 0.25)), cluster_colour(1));
  EXPECT_EQ(colour_at(image, along(4, 0.75)), cluster_colour(1));
  // The lines that stay are thin and lighter: neither white nor the full colour.
  const QRgb kept = colour_at(image, along(0, 0.5));
  EXPECT_NE(kept, qRgb(255, 255, 255));
  EXPECT_NE(kept, cluster_colour(0));
  // Dendrogram 1's cluster {3,4,5} has its branches in its colour.
  EXPECT_EQ(cluster_colour(1), 0xffff7f0eu);
}

TEST_F(FiveObjectTanglegram, TheSvgCarriesTheLabelsOnBothSides) {
  QTemporaryDir directory;
  const QString path = directory.filePath("t.svg");
  std::string error;
  ASSERT_EQ(render_file(results, path.toStdString(), Measure::tanglegram, &error, {kNames, 2, false}), 0) << error;
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString svg = QString::fromUtf8(file.readAll());
  for (const QString& name : kNames) EXPECT_EQ(svg.count(">" + name + "<"), 2) << name.toStdString();
  EXPECT_TRUE(svg.contains("1 object moved"));
}

TEST_F(FiveObjectTanglegram, ThePointerNamesTheObjectOfTheLineUnderIt) {
  const TanglegramGeometry g = lay_out_tanglegram(*picture.tanglegram(), kNames, area, nullptr);
  const double middle = (g.line_left() + g.line_right()) / 2;
  EXPECT_EQ(picture.describe_point(area, {middle, g.y1[4] + 1}, nullptr),
            std::optional<QString>("object epsilon: clusters 2 and 3, moved"));
  EXPECT_EQ(picture.describe_point(area, {middle, g.y1[1]}, nullptr),
            std::optional<QString>("object beta: clusters 1 and 1"));
  EXPECT_EQ(picture.describe_point(area, {middle, (g.y1[1] + g.y1[2]) / 2}, nullptr), std::nullopt);
  EXPECT_EQ(picture.describe_point(area, {g.left_leaves - 5, g.y1[1]}, nullptr), std::nullopt);
}

// Merges of random current clusters at heights 1, 2, ...
compare::DendrogramFile random_tree(int n, std::mt19937& random) {
  compare::DendrogramFile file{n, {}};
  std::vector<int> names(n);
  for (int i = 0; i < n; ++i) names[i] = i + 1;
  for (int m = 0; m < n - 1; ++m) {
    std::swap(names[random() % names.size()], names.back());
    const int a = names.back();
    names.pop_back();
    int& b = names[random() % names.size()];
    file.merges.push_back({a, b, 0, 0, static_cast<float>(m + 1)});
    b = std::min(a, b);
  }
  return file;
}

TEST(CollapsedTanglegram, BandsTileEveryBlockWithoutAGap) {
  std::mt19937 random(5);
  const int n = 600;
  compare::CompareOptions exact;
  exact.precision = compare::Precision::exact;
  const compare::Comparison results = compare::run_comparison(random_tree(n, random), random_tree(n, random), exact);
  const Picture picture(results, Measure::tanglegram);
  const compare::Tanglegram& t = *picture.tanglegram();
  ASSERT_GE(t.blocks1, kCollapsedBlocks);
  ASSERT_GE(t.blocks2, kCollapsedBlocks);
  const QRectF area(0, 0, 1000, 750);
  const TanglegramGeometry g = lay_out_tanglegram(t, {}, area, nullptr);
  ASSERT_TRUE(g.collapsed);
  // Each side's bands, in the order they stack, must meet edge to edge.
  std::vector<std::vector<std::pair<double, double>>> left(t.blocks1), right(t.blocks2);
  int objects = 0;
  for (const Band& band : g.bands) {
    left[band.first].emplace_back(band.left_top, band.left_bottom);
    right[band.second].emplace_back(band.right_top, band.right_bottom);
    objects += band.count;
  }
  EXPECT_EQ(objects, n);
  const auto tiles = [](std::vector<std::pair<double, double>> edges, double top, double bottom) {
    std::sort(edges.begin(), edges.end());
    if (edges.front().first != top || std::abs(edges.back().second - bottom) > 1e-9) return false;
    for (std::size_t i = 1; i < edges.size(); ++i)
      if (edges[i].first != edges[i - 1].second) return false;
    return true;
  };
  for (int b = 0; b < t.blocks1; ++b) EXPECT_TRUE(tiles(left[b], g.block_top1[b], g.block_bottom1[b])) << b;
  for (int b = 0; b < t.blocks2; ++b) EXPECT_TRUE(tiles(right[b], g.block_top2[b], g.block_bottom2[b])) << b;
  // Where two bands of a block meet, the picture is not white.
  const QImage image = render_image(picture, QSize(1000, 750));
  for (int b = 0; b < t.blocks1; ++b) {
    auto edges = left[b];
    std::sort(edges.begin(), edges.end());
    for (std::size_t i = 1; i < edges.size(); ++i)
      EXPECT_NE(colour_at(image, {g.line_left() + 2, edges[i].first}), qRgb(255, 255, 255)) << b;
  }
}

}  // namespace
}  // namespace console::plots
