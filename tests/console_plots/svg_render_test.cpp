// A heat map as SVG in a standard renderer (rsvg-convert): the drawing
// comes out at its own size, and no hairline of the white ground shows
// between two cells, at that size or scaled, because neighbouring cells
// share their edges exactly and each reaches under the next.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>

#include "console/plots/heat_map.h"
#include "console/plots/picture.h"
#include "console/plots/render.h"
#include "console_plots/support/plot_tables.h"

namespace console::plots {
namespace {

// 23 x 37 cells alternating between two values, so that no cell edge of a
// 1000 x 750 picture falls on a whole unit by itself.
compare::Comparison checkerboard() {
  std::vector<int> rows(23), columns(37);
  for (std::size_t k = 0; k < rows.size(); ++k) rows[k] = static_cast<int>(rows.size() - k) + 1;
  for (std::size_t l = 0; l < columns.size(); ++l) columns[l] = static_cast<int>(columns.size() - l) + 1;
  return test::make_results(test::make_tables(rows, columns, [](int, int k, int l) {
    return (k + l) % 2 == 0 ? 0.2f : 0.8f;
  }));
}

// Renders the SVG file at a zoom; a null image when the renderer failed.
QImage rendered(const QString& svg, double zoom, const QString& png) {
  QProcess renderer;
  renderer.start(QStringLiteral("rsvg-convert"),
                 {QStringLiteral("--zoom"), QString::number(zoom), QStringLiteral("--output"), png, svg});
  if (!renderer.waitForFinished(60000) || renderer.exitCode() != 0) return {};
  return QImage(png).convertToFormat(QImage::Format_RGB32);
}

// Every channel of the pixel lies between those of the two cell colours:
// at most a blend of two cells, never of a cell with the white ground.
bool between(QRgb pixel, QRgb a, QRgb b) {
  constexpr int kRounding = 2;
  const auto inside = [](int v, int x, int y) { return v >= std::min(x, y) - kRounding && v <= std::max(x, y) + kRounding; };
  return inside(qRed(pixel), qRed(a), qRed(b)) && inside(qGreen(pixel), qGreen(a), qGreen(b)) &&
         inside(qBlue(pixel), qBlue(a), qBlue(b));
}

class SvgRenderTest : public ::testing::TestWithParam<double> {
 protected:
  void SetUp() override {
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("rsvg-convert")).isEmpty())
        << "rsvg-convert is missing: run scripts/setup.sh";
    std::string error;
    ASSERT_TRUE(write_picture(picture, svg(), kFilePictureSize, &error)) << error;
  }

  QString svg() const { return directory.filePath(QStringLiteral("checkerboard.svg")); }

  compare::Comparison results = checkerboard();
  Picture picture{results, Measure::adjusted_rand};
  HeatTable table{results.tables, 5};
  QTemporaryDir directory;
};

TEST_P(SvgRenderTest, NoWhiteHairlineShowsBetweenTwoCells) {
  const double zoom = GetParam();
  QImage image = rendered(svg(), zoom, directory.filePath(QStringLiteral("checkerboard.png")));
  ASSERT_FALSE(image.isNull()) << "rsvg-convert failed";
  ASSERT_EQ(image.size(), (QSizeF(kFilePictureSize) * zoom).toSize());
  HeatMapLayout layout = lay_out_heat_map(table, QRectF(QPointF(0, 0), QSizeF(kFilePictureSize)), nullptr);
  const ValueScale scale = table.scale();
  const QRgb low = scale.colour(0.2f), high = scale.colour(0.8f);
  // Inside the frame of the table, below the minimum's ring and label at
  // the first cell.
  const QRectF first = layout.cell_rect({1, 1});
  const QRectF checked(QPointF(layout.cells.left() + 2, first.center().y() + layout.line_height * 1.5),
                       QPointF(layout.cells.right() - 2, layout.cells.bottom() - 2));
  int stray = 0;
  for (int y = static_cast<int>(checked.top() * zoom); y < static_cast<int>(checked.bottom() * zoom); ++y) {
    for (int x = static_cast<int>(checked.left() * zoom); x < static_cast<int>(checked.right() * zoom); ++x) {
      stray += between(image.pixel(x, y), low, high) ? 0 : 1;
    }
  }
  EXPECT_EQ(stray, 0);
}

// The picture's own size, and scaled up by a factor that puts no edge on
// a pixel boundary.
INSTANTIATE_TEST_SUITE_P(Zooms, SvgRenderTest, ::testing::Values(1.0, 1.37));

}  // namespace
}  // namespace console::plots
