// The graphics window: its size, title and mapping mode from the program's
// arguments, only one per run, and the program's paint routine called on
// each paint with the mapping applied.
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QPainter>
#include <cmath>
#include <string>

#include "console/qt/graphics_window.h"
#include "console_qt/support/frame_fixture.h"

namespace console::qt {
namespace {

using test::FrameTest;

QMdiSubWindow& graphics_child(const ConsoleState& state) { return *static_cast<QMdiSubWindow*>(state.graphics_window); }

TEST_F(FrameTest, AGraphicsWindowOfWidthZeroOpensAt600By300TitledGraphics) {
  int width = 0, height = 120, mode = 1;
  ASSERT_EQ(open_graphics_window(state, width, height, "", mode, nullptr, 0), 1);
  EXPECT_EQ(width, 600);
  EXPECT_EQ(height, 300);
  EXPECT_EQ(graphics_child(state).windowTitle(), "Graphics");
  EXPECT_EQ(graphics_child(state).geometry(), QRect(15, 15, 600, 300));
}

TEST_F(FrameTest, ASecondGraphicsWindowIsRefusedAndChangesNothing) {
  int width = 200, height = 100, mode = 4;
  ASSERT_EQ(open_graphics_window(state, width, height, "One", mode, nullptr, 3), 1);
  QWidget* first = state.graphics_window;
  int other_mode = 2;
  EXPECT_EQ(open_graphics_window(state, width, height, "Two", other_mode, nullptr, 3), 0);
  EXPECT_EQ(state.graphics_window, first);
  EXPECT_EQ(state.map_mode, 4);
}

struct TitleCase {
  std::string given;
  std::string shown;
};

class GraphicsTitleTest : public FrameTest, public ::testing::WithParamInterface<TitleCase> {};

TEST_P(GraphicsTitleTest, ShowsTheProgramsTitleWithoutTrailingBlanks) {
  int width = 100, height = 100, mode = 1;
  const TitleCase& c = GetParam();
  ASSERT_EQ(open_graphics_window(state, width, height, c.given.data(), mode, nullptr, static_cast<int>(c.given.size())), 1);
  EXPECT_EQ(graphics_child(state).windowTitle().toStdString(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Titles, GraphicsTitleTest,
                         ::testing::Values(TitleCase{"Plot   ", "Plot"}, TitleCase{"     ", "Graphics"},
                                           TitleCase{std::string("\0abc", 4), "Graphics"},
                                           TitleCase{std::string(100, 'x'), std::string(79, 'x')},
                                           TitleCase{" a b ", " a b"}));

struct MapCase {
  int given;
  int kept;
  double scale_at_1440_dpi;  // m11; m22 is its negative for the metric and English modes
};

class MapModeTest : public FrameTest, public ::testing::WithParamInterface<MapCase> {};

TEST_P(MapModeTest, KeepsModesTwoToEightAndMapsUnitsToTheDevice) {
  const MapCase& c = GetParam();
  int width = 100, height = 100, mode = c.given;
  ASSERT_EQ(open_graphics_window(state, width, height, "", mode, nullptr, 0), 1);
  EXPECT_EQ(state.map_mode, c.kept);
  QImage image(10, 10, QImage::Format_RGB32);
  QPainter painter(&image);
  apply_map_mode(painter, state.map_mode, 1440.0, 1440.0);
  EXPECT_DOUBLE_EQ(painter.transform().m11(), c.scale_at_1440_dpi);
  double y_sign = c.kept >= 2 && c.kept <= 6 ? -1.0 : 1.0;
  EXPECT_DOUBLE_EQ(painter.transform().m22(), y_sign * c.scale_at_1440_dpi);
}

INSTANTIATE_TEST_SUITE_P(Modes, MapModeTest,
                         ::testing::Values(MapCase{9, 1, 1.0}, MapCase{0, 1, 1.0}, MapCase{1, 1, 1.0},
                                           MapCase{2, 2, 1440.0 / 254.0}, MapCase{3, 3, 1440.0 / 2540.0},
                                           MapCase{4, 4, 14.4}, MapCase{5, 5, 1.44}, MapCase{6, 6, 1.0},
                                           MapCase{7, 7, 1.0}, MapCase{8, 8, 1.0}));

TEST_F(FrameTest, EachPaintCallsTheProgramsRoutineWithTheMappingApplied) {
  int calls = 0;
  QTransform seen;
  PaintRoutine routine = [&](QPainter*& painter) {
    ++calls;
    seen = painter->transform();
  };
  int width = 300, height = 200, mode = 4;
  ASSERT_EQ(open_graphics_window(state, width, height, "Plot", mode, routine, 4), 1);
  QWidget* contents = graphics_child(state).widget();
  contents->grab();
  ASSERT_GE(calls, 1);
  EXPECT_DOUBLE_EQ(seen.m11(), contents->logicalDpiX() / 100.0);
  EXPECT_DOUBLE_EQ(seen.m22(), -contents->logicalDpiY() / 100.0);
}

}  // namespace
}  // namespace console::qt
