// Painting: which lines an update rectangle redraws, where they are drawn,
// and the selection drawn over them.
#include <gtest/gtest.h>

#include <string>

#include "console/io_line_editor.h"
#include "console/io_painting.h"
#include "console/support/io_window_fixture.h"

namespace console {
namespace {

using test::Drawing;
using test::IoWindowTest;
using test::kCellHeight;
using test::kCellWidth;

struct PaintRangeCase {
  const char* name;
  int first_line;
  int line_count;
  int top_row;  // the update rectangle, in rows of the window
  int bottom_row;
  LineRange lines;
};

class PaintRangeTest : public ::testing::TestWithParam<PaintRangeCase> {};

TEST_P(PaintRangeTest, TakesTheLinesTheRectangleMeetsAndOneAboveIt) {
  const PaintRangeCase& c = GetParam();
  IoView view;
  view.char_height = kCellHeight;
  view.first_line = c.first_line;
  PixelRect update{0, c.top_row * kCellHeight, 640, c.bottom_row * kCellHeight};
  EXPECT_EQ(lines_to_paint(view, c.line_count, update), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Rectangles, PaintRangeTest,
    ::testing::Values(PaintRangeCase{"WholeWindowAtTheTop", 0, 30, 0, 20, {0, 20}},
                      PaintRangeCase{"TwoRowsInTheMiddle", 5, 30, 2, 4, {6, 9}},
                      PaintRangeCase{"WholeWindowAtTheBottom", 12, 30, 0, 20, {11, 29}},
                      PaintRangeCase{"NoLines", 0, 0, 0, 20, {0, -1}}),
    [](const auto& info) { return std::string(info.param.name); });

class PaintTest : public IoWindowTest {
 protected:
  void select(int line_index, int start, int end) {
    view.selection_count = 1;
    view.selection_line = line_index;
    view.selection_start = start;
    view.selection_end = end;
    surface.forget();
  }
};

TEST_F(PaintTest, DrawsEachLineWholeShiftedByTheHorizontalScroll) {
  for (const char* text : {"first", "second", "third"}) show_output_line(window, text);
  view.first_column = 2;
  surface.forget();
  paint(window, {0, 0, 640, 2 * kCellHeight - 1});
  EXPECT_EQ(surface.drawings, (std::vector<Drawing>{{-2 * kCellWidth, 0, "first", TextColours::normal},
                                                     {-2 * kCellWidth, kCellHeight, "second", TextColours::normal}}));
}

TEST_F(PaintTest, DrawsTheSelectionAgainInItsOwnColoursAndEndsWithTheCaret) {
  for (const char* text : {"first", "second"}) show_output_line(window, text);
  select(1, 1, 4);
  paint(window, {0, 0, 640, 320});
  ASSERT_EQ(surface.drawings.size(), 3u);
  EXPECT_EQ(surface.drawings.back(), (Drawing{kCellWidth, kCellHeight, "eco", TextColours::selected}));
  EXPECT_EQ(surface.calls.back(), "show_caret");
  EXPECT_EQ(surface.caret_y, 2 * kCellHeight);
}

TEST_F(PaintTest, ASelectionAboveTheViewIsNotDrawn) {
  write_lines(30);
  select(0, 0, 2);
  paint(window, {0, 0, 640, 320});
  for (const Drawing& d : surface.drawings) EXPECT_EQ(d.colours, TextColours::normal);
}

}  // namespace
}  // namespace console
