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
