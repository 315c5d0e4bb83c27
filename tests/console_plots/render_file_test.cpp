// Pictures as files: the kind by the extension, PNG and SVG of the asked
// size, and the refusals a command line reports.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "console/plots/render.h"
#include "console_plots/support/plot_tables.h"

namespace console::plots {
namespace {

struct KindCase {
  const char* path;
  FileKind kind;
};

class FileKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(FileKindTest, IsTheExtensionInAnyCase) { EXPECT_EQ(file_kind(GetParam().path), GetParam().kind); }

INSTANTIATE_TEST_SUITE_P(Names, FileKindTest,
                         ::testing::Values(KindCase{"a.png", FileKind::png}, KindCase{"dir.svg/A.PNG", FileKind::png},
                                           KindCase{"b.svg", FileKind::svg}, KindCase{"b.Svg", FileKind::svg},
                                           KindCase{"c.jpg", FileKind::unknown}, KindCase{"png", FileKind::unknown},
                                           KindCase{"d.png.txt", FileKind::unknown}));

class RenderFileTest : public ::testing::Test {
 protected:
  std::string path(const char* name) const { return directory.filePath(name).toStdString(); }

  compare::Comparison results = test::five_object_results();
  QTemporaryDir directory;
  std::string error;
};

TEST_F(RenderFileTest, APngFileHoldsAnImageOfTheFileSize) {
  ASSERT_EQ(render_file(results, path("ari.png"), Measure::adjusted_rand, &error), 0) << error;
  QImage image(QString::fromStdString(path("ari.png")), "PNG");
  EXPECT_EQ(image.size(), kFilePictureSize);
}

TEST_F(RenderFileTest, AnSvgFileIsAnSvgDrawingOfTheFileSize) {
  ASSERT_EQ(render_file(results, path("agreement.SVG"), Measure::agreement, &error), 0) << error;
  QFile file(QString::fromStdString(path("agreement.SVG")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QByteArray svg = file.readAll();
  EXPECT_TRUE(svg.contains("<svg"));
  EXPECT_TRUE(svg.contains("viewBox=\"0 0 1000 750\""));
}

TEST_F(RenderFileTest, AnotherExtensionIsRefusedAndWritesNothing) {
  EXPECT_EQ(render_file(results, path("x.jpg"), Measure::rand, &error), 1);
  EXPECT_EQ(error, path("x.jpg") + ": the picture file's name must end in .png or .svg");
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path("x.jpg"))));
}

struct UnwritableCase {
  const char* name;
};

class UnwritableFileTest : public RenderFileTest, public ::testing::WithParamInterface<UnwritableCase> {};

TEST_P(UnwritableFileTest, IsReportedWithItsName) {
  std::string target = path("missing-folder/") + GetParam().name;
  EXPECT_EQ(render_file(results, target, Measure::jaccard, &error), 1);
  EXPECT_EQ(error, target + ": cannot write the picture");
}

INSTANTIATE_TEST_SUITE_P(Kinds, UnwritableFileTest, ::testing::Values(UnwritableCase{"p.png"}, UnwritableCase{"p.svg"}));

TEST_F(RenderFileTest, ANullErrorIsAllowed) { EXPECT_EQ(render_file(results, path("x.gif"), Measure::rand, nullptr), 1); }

}  // namespace
}  // namespace console::plots

namespace console::plots {
namespace {

// The five-object example as an exact comparison: both dendrograms have 2
// and 3 clusters, so the curve has two points; at k = 2, B = 2 / sqrt(24).
TEST(BkPicture, DrawsTheCurveAndItsBandWithTheirTitle) {
  const compare::DendrogramFile five1{
      5, {{1, 2, 0, 0, 0.5f}, {4, 5, 0, 0, 0.5f}, {3, 4, 0, 0, 1.0f}, {1, 3, 0, 0, 2.0f}}};
  const compare::DendrogramFile five2{
      5, {{1, 3, 0, 0, 1.0f}, {2, 4, 0, 0, 2.0f}, {1, 2, 0, 0, 3.0f}, {1, 5, 0, 0, 4.0f}}};
  compare::CompareOptions options;
  options.precision = compare::Precision::exact;
  const compare::Comparison results = compare::run_comparison(five1, five2, options);
  ASSERT_EQ(results.bk_curve().size(), 2u);
  QTemporaryDir directory;
  const std::string svg_path = directory.filePath("bk.svg").toStdString(), png_path = directory.filePath("bk.png").toStdString();
  std::string error;
  ASSERT_EQ(render_file(results, svg_path, Measure::bk, &error), 0) << error;
  QFile file(QString::fromStdString(svg_path));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray svg = file.readAll();
  EXPECT_TRUE(svg.contains("Fowlkes-Mallows Bk with its expectation and 2 standard deviations"));
  EXPECT_TRUE(svg.contains("#0072b2"));  // the curve
  EXPECT_TRUE(svg.contains("#d55e00"));  // the expectation and its band
  ASSERT_EQ(render_file(results, png_path, Measure::bk, &error), 0) << error;
  const QImage image(QString::fromStdString(png_path));
  EXPECT_EQ(image.size(), kFilePictureSize);
}

}  // namespace
}  // namespace console::plots
