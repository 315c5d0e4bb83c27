// The pictures that need exact values after a run whose tables are single
// precision: the heat maps of variation of information and NMI, whose
// cells hold the values that follow from the contingency tables of the two
// partitions, and the Fowlkes-Mallows Bk curve, all drawn from an exact
// comparison of the two dendrograms made when one of them is first asked
// for; a comparison that cannot be made is reported.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QTest>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "console/plots/heat_map.h"
#include "console/plots/picture.h"
#include "console/plots/tanglegram_geometry.h"
#include "console/plots/render.h"
#include "console_qt/support/plots_fixture.h"

namespace console::qt {
namespace {

constexpr int kAdjustedRandItem = 804;
constexpr int kInformationItem = 806;
constexpr int kNmiItem = 807;
constexpr int kBkItem = 808;
constexpr int kTanglegramItem = 809;

// Natural-log entropy of a partition of n objects given by its block sizes.
double entropy(const std::vector<int>& sizes, int n) {
  double h = 0;
  for (int size : sizes) h -= static_cast<double>(size) / n * std::log(static_cast<double>(size) / n);
  return h;
}

// One cell of a heat map: level k of five1.den against level l of
// five2.den, with the block sizes of both partitions and of their
// intersections, as read off the merge records by hand.
struct InformationCase {
  int item;
  const char* title;
  int k, l;
  int clusters1, clusters2;
  const char* height1;
  const char* height2;
  std::vector<int> rows, columns, cells;
  bool nmi;
};

// Variation of information H(U) + H(V) - 2 I; NMI as I over the mean of
// the two entropies, drawn as one minus it.
double expected_value(const InformationCase& c) {
  const int n = 5;
  const double hu = entropy(c.rows, n), hv = entropy(c.columns, n), joint = entropy(c.cells, n);
  const double mutual = hu + hv - joint;
  return c.nmi ? 1.0 - mutual / ((hu + hv) / 2.0) : hu + hv - 2.0 * mutual;
}

class InformationMapTest : public test::PlotsFixture, public ::testing::WithParamInterface<InformationCase> {};

TEST_P(InformationMapTest, TheCellUnderTheMouseHoldsTheValueOfItsContingencyTable) {
  const InformationCase& c = GetParam();
  finish_comparison();
  frame->dispatch_command(c.item);
  ASSERT_NE(graphics(), nullptr);
  EXPECT_EQ(graphics()->windowTitle().toStdString(), c.title);
  QWidget* contents = graphics()->widget();
  // The heat map's own layout over the window: two rows, three columns.
  plots::HeatTable table({3, 2}, {4, 3, 2}, [](int, int) { return 0.0f; });
  plots::HeatMapLayout layout = plots::lay_out_heat_map(table, QRectF(contents->rect()), contents);
  QPointF over = layout.cell_rect({c.k, c.l}).center();
  QMouseEvent move(QEvent::MouseMove, over, contents->mapToGlobal(over), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(contents, &move);
  const QString expected = QStringLiteral("%1: clusters %2 and %3, heights %4 and %5, value %6")
                               .arg(QString::fromLatin1(c.title))
                               .arg(c.clusters1)
                               .arg(c.clusters2)
                               .arg(QString::fromLatin1(c.height1), QString::fromLatin1(c.height2))
                               .arg(static_cast<double>(static_cast<float>(expected_value(c))), 0, 'f', 5);
  EXPECT_EQ(graphics()->windowTitle(), expected);
  EXPECT_TRUE(failures.empty());
}

// five1.den: rows {12}{3}{45} (height 0.5) and {12}{345} (1).
// five2.den: columns {13}{2}{4}{5} (1), {13}{24}{5} (2) and {1234}{5} (3).
INSTANTIATE_TEST_SUITE_P(
    Cells, InformationMapTest,
    ::testing::Values(
        InformationCase{kInformationItem, "Variation of information", 1, 3, 3, 2, "0.5", "3", {2, 1, 2}, {4, 1},
                        {2, 1, 1, 1}, false},
        InformationCase{kInformationItem, "Variation of information", 2, 1, 2, 4, "1", "1", {2, 3}, {2, 1, 1, 1},
                        {1, 1, 1, 1, 1}, false},
        InformationCase{kNmiItem, "1 - normalized mutual information", 1, 3, 3, 2, "0.5", "3", {2, 1, 2}, {4, 1},
                        {2, 1, 1, 1}, true},
        InformationCase{kNmiItem, "1 - normalized mutual information", 2, 2, 2, 3, "1", "2", {2, 3}, {2, 2, 1},
                        {1, 1, 1, 1, 1}, true}));

class PlotsExactTest : public test::PlotsFixture {};

compare::Comparison exact_comparison(const compare::DendrogramFile& first, const compare::DendrogramFile& second) {
  compare::CompareOptions options;
  options.precision = compare::Precision::exact;
  options.information = true;
  return compare::run_comparison(first, second, options);
}

TEST_F(PlotsExactTest, TheBkItemDrawsTheCurveOfTheExactComparison) {
  finish_comparison();
  frame->dispatch_command(kBkItem);
  ASSERT_NE(graphics(), nullptr);
  EXPECT_EQ(graphics()->windowTitle(), "Fowlkes-Mallows Bk with its expectation and 2 standard deviations");
  QWidget* contents = graphics()->widget();
  QImage shown = contents->grab().toImage().convertToFormat(QImage::Format_RGB32);
  // k = 3 and k = 2 are in both dendrograms: the curve has two points.
  compare::Comparison exact = exact_comparison(first, second);
  ASSERT_EQ(exact.bk_curve().size(), 2u);
  plots::Picture drawn(exact, plots::Measure::bk);
  EXPECT_EQ(shown, plots::render_image(drawn, contents->size()));
  // Not the picture of a comparison without pair counts, which has no curve.
  const compare::Comparison no_counts;
  plots::Picture without_counts(no_counts, plots::Measure::bk);
  EXPECT_NE(shown, plots::render_image(without_counts, contents->size()));
}

TEST_F(PlotsExactTest, TheFiveTablesStayThoseOfTheRunAfterAnExactPicture) {
  finish_comparison();
  frame->dispatch_command(kNmiItem);
  frame->dispatch_command(kAdjustedRandItem);
  QWidget* contents = graphics()->widget();
  compare::Comparison run = compare::run_comparison(first, second);
  plots::Picture drawn(run, plots::Measure::adjusted_rand);
  EXPECT_EQ(contents->grab().toImage().convertToFormat(QImage::Format_RGB32),
            plots::render_image(drawn, contents->size()));
}

TEST_F(PlotsExactTest, AnExactComparisonThatCannotBeMadeIsReportedAndLeavesThePictureShown) {
  compare::DendrogramFile four;
  four.object_count = 4;
  four.merges = {{1, 2, 0, 0, 0.5f}, {1, 3, 0, 0, 1.0f}, {1, 4, 0, 0, 2.0f}};
  compare::Comparison run = compare::run_comparison(first, second);
  ASSERT_TRUE(install_plots_menu(state,
                                 {std::make_shared<compare::Comparison>(std::move(run)),
                                  std::make_shared<compare::DendrogramFile>(first),
                                  std::make_shared<compare::DendrogramFile>(four)},
                                 hooks));
  frame->dispatch_command(kAdjustedRandItem);
  frame->dispatch_command(kInformationItem);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0], "The exact values cannot be computed: the dendrograms have different object counts (5 and 4)");
  EXPECT_EQ(graphics()->windowTitle(), "1 - ADJUSTED RAND");
}

}  // namespace
}  // namespace console::qt

namespace console::qt {
namespace {

// The trees of the run face to face, from the exact comparison; the
// pointer over an object's line names it in the title.
TEST_F(PlotsExactTest, TheTanglegramItemDrawsTheTreesAndNamesTheLineUnderThePointer) {
  finish_comparison();
  frame->dispatch_command(kTanglegramItem);
  ASSERT_NE(graphics(), nullptr);
  EXPECT_EQ(graphics()->windowTitle(), "Tanglegram");
  QWidget* contents = graphics()->widget();
  compare::Comparison exact = exact_comparison(first, second);
  plots::Picture drawn(exact, plots::Measure::tanglegram);
  EXPECT_EQ(contents->grab().toImage().convertToFormat(QImage::Format_RGB32),
            plots::render_image(drawn, contents->size()).convertToFormat(QImage::Format_RGB32));
  const compare::Tanglegram& t = *drawn.tanglegram();
  const plots::TanglegramGeometry g = plots::lay_out_tanglegram(t, {}, QRectF(contents->rect()), contents);
  const QPoint on_line(static_cast<int>(g.line_left() + 2), static_cast<int>(g.y1[0]));
  QTest::mouseMove(contents, on_line);
  QCoreApplication::processEvents();
  EXPECT_TRUE(graphics()->windowTitle().startsWith(
      QStringLiteral("Tanglegram: object %1: clusters").arg(t.order1[0] + 1)))
      << graphics()->windowTitle().toStdString();
}

}  // namespace
}  // namespace console::qt
