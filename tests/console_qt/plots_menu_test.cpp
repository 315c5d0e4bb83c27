// The pictures after a comparison: the Plots menu that the results bring,
// its items opening the graphics window with a picture painted in it, the
// cell under the mouse in the window's title, saving the picture, and
// File > Print printing it, as many copies as asked for, while its window
// is the active one.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <string>
#include <vector>

#include "console/plots/colour_map.h"
#include "console/plots/heat_map.h"
#include "console/qt/frame_menu.h"
#include "console/qt/plots_menu.h"
#include "console_qt/support/plots_fixture.h"

namespace console::qt {
namespace {

const std::vector<std::string> kItems = {"1 - jaccard",
                                         "1 - simple match = 1 - RAND",
                                         "Euclidean",
                                         "1 - Sorensen",
                                         "1 - ADJUSTED RAND",
                                         "Agreement at equal cluster counts",
                                         "",
                                         "Variation of information",
                                         "1 - normalized mutual information",
                                         "Fowlkes-Mallows Bk with its expectation and 2 standard deviations",
                                         "Tanglegram",
                                         "",
                                         "Save Picture As..."};
constexpr int kJaccardItem = 800;
constexpr int kAdjustedRandItem = 804;
constexpr int kInformationItem = 806;
constexpr int kNmiItem = 807;
constexpr int kBkItem = 808;
constexpr int kSaveItem = 810;

compare::Comparison five_object_results() {
  return compare::run_comparison(test::example_file("five1.den"), test::example_file("five2.den"));
}

class PlotsMenuTest : public test::PlotsFixture {};

TEST_F(PlotsMenuTest, TheResultsBringAPlotsMenuInFrontOfWindowWithAnItemForEachPicture) {
  ASSERT_EQ(plots_popup(), nullptr);
  finish_comparison();
  QList<QAction*> bar = state.main_menu->actions();
  ASSERT_EQ(bar.size(), 4);
  EXPECT_EQ(bar[2]->text(), "&Plots");
  EXPECT_EQ(bar[3]->menu(), state.window_menu);
  QList<QAction*> items = plots_popup()->actions();
  ASSERT_EQ(items.size(), static_cast<qsizetype>(kItems.size()));
  for (std::size_t i = 0; i < kItems.size(); ++i) EXPECT_EQ(items[i]->text().toStdString(), kItems[i]) << i;
  EXPECT_TRUE(items[6]->isSeparator());
  EXPECT_TRUE(items[11]->isSeparator());
  EXPECT_EQ(command_id_of(*items[0]), kJaccardItem);
  EXPECT_EQ(command_id_of(*items[5]), 805);
  EXPECT_EQ(command_id_of(*items[7]), kInformationItem);
  EXPECT_EQ(command_id_of(*items[9]), kBkItem);
  EXPECT_EQ(command_id_of(*items[10]), 809);
  EXPECT_EQ(command_id_of(*items[12]), kSaveItem);
}

TEST_F(PlotsMenuTest, TheMenuComesOnlyOnce) {
  finish_comparison();
  EXPECT_FALSE(install_plots_menu(state, {std::make_shared<compare::Comparison>(five_object_results()), nullptr, nullptr}));
  EXPECT_EQ(state.main_menu->actions().size(), 4);
  EXPECT_EQ(state.next_menu_command, kSaveItem + 1);
}

TEST_F(PlotsMenuTest, AnItemOpensTheGraphicsWindowAndItsPaintDrawsTheHeatMap) {
  finish_comparison();
  frame->dispatch_command(kAdjustedRandItem);
  ASSERT_NE(graphics(), nullptr);
  EXPECT_EQ(graphics()->windowTitle(), "1 - ADJUSTED RAND");
  EXPECT_EQ(graphics()->geometry().size(), QSize(kPlotsWindowWidth, kPlotsWindowHeight));
  QImage painted = graphics()->widget()->grab().toImage();
  // The minimum's cell and the largest value's cell are both on it.
  bool lowest = false, highest = false;
  for (int y = 0; y < painted.height(); ++y) {
    for (int x = 0; x < painted.width(); ++x) {
      lowest |= painted.pixel(x, y) == plots::viridis_step(0);
      highest |= painted.pixel(x, y) == plots::viridis_step(plots::kColourSteps - 1);
    }
  }
  EXPECT_TRUE(lowest);
  EXPECT_TRUE(highest);
}

TEST_F(PlotsMenuTest, AnotherItemShowsItsPictureInTheSameWindow) {
  finish_comparison();
  frame->dispatch_command(kAdjustedRandItem);
  QWidget* first = state.graphics_window;
  frame->dispatch_command(kJaccardItem);
  EXPECT_EQ(state.graphics_window, first);
  EXPECT_EQ(graphics()->windowTitle(), "1 - jaccard");
  EXPECT_EQ(state.mdi_client->subWindowList().size(), 2);
}

TEST_F(PlotsMenuTest, TheCellUnderTheMouseIsNamedInTheTitle) {
  finish_comparison();
  frame->dispatch_command(kAdjustedRandItem);
  QWidget* contents = graphics()->widget();
  compare::Comparison results = five_object_results();
  plots::HeatTable table(results.tables, 5);
  plots::HeatMapLayout layout = plots::lay_out_heat_map(table, QRectF(contents->rect()), contents);
  // Level 1 of the first (3 clusters, height 0.5) against level 3 of the
  // second (2 clusters, height 3): the reported minimum.
  QPointF over = layout.cell_rect({1, 3}).center();
  QMouseEvent move(QEvent::MouseMove, over, contents->mapToGlobal(over), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(contents, &move);
  EXPECT_EQ(graphics()->windowTitle().toStdString(),
            "1 - ADJUSTED RAND: clusters 3 and 2, heights 0.5 and 3, value 1.07143");
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(contents, &leave);
  EXPECT_EQ(graphics()->windowTitle(), "1 - ADJUSTED RAND");
}

TEST_F(PlotsMenuTest, SavingWritesThePictureShownAsItsExtensionSays) {
  finish_comparison();
  frame->dispatch_command(kAdjustedRandItem);
  picture_file = directory.filePath("shown.png");
  frame->dispatch_command(kSaveItem);
  EXPECT_EQ(QImage(picture_file).size(), graphics()->widget()->size());
  picture_file = directory.filePath("shown.svg");
  frame->dispatch_command(kSaveItem);
  QFile svg(picture_file);
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  EXPECT_TRUE(svg.readAll().contains("1 - ADJUSTED RAND"));
  EXPECT_TRUE(failures.empty());
}

TEST_F(PlotsMenuTest, ASaveThatFailsIsReportedAndACancelledOneDoesNothing) {
  finish_comparison();
  picture_file = QString();
  frame->dispatch_command(kSaveItem);
  EXPECT_TRUE(failures.empty());
  picture_file = directory.filePath("no-such-folder/p.png");
  frame->dispatch_command(kSaveItem);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0], picture_file.toStdString() + ": cannot write the picture");
}

TEST_F(PlotsMenuTest, PrintPrintsThePictureWhileItsWindowIsActiveAndTheTextOtherwise) {
  finish_comparison();
  frame->dispatch_command(kAdjustedRandItem);
  state.mdi_client->setActiveSubWindow(graphics());
  frame->dispatch_command(kPrint);
  EXPECT_EQ(test::pdf_pages(printed_file()), 1);
  EXPECT_TRUE(services.calls.empty());
  state.mdi_client->setActiveSubWindow(state.io_window);
  frame->dispatch_command(kPrint);
  EXPECT_EQ(services.calls, (std::vector<std::string>{"print"}));
}

// The print dialog's copy count, each copy a page of the job.
class PictureCopiesTest : public test::PlotsFixture, public ::testing::WithParamInterface<int> {};

TEST_P(PictureCopiesTest, EveryCopyAskedForIsAPageOfItsOwn) {
  finish_comparison();
  frame->dispatch_command(kAdjustedRandItem);
  state.mdi_client->setActiveSubWindow(graphics());
  copies = GetParam();
  frame->dispatch_command(kPrint);
  EXPECT_EQ(test::pdf_pages(printed_file()), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Counts, PictureCopiesTest, ::testing::Values(1, 2, 60));

TEST_F(PlotsMenuTest, TheFramesOtherServicesStayItsOwn) {
  finish_comparison();
  frame->dispatch_command(kSaveAs);
  ASSERT_FALSE(services.calls.empty());
  EXPECT_EQ(services.calls.front().rfind("choose", 0), 0u);
}

}  // namespace
}  // namespace console::qt
