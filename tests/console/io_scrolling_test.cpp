// Scroll ranges and the two scroll bars' requests: how far each moves, the
// clamping to the range, and what the window is asked to do.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "console/io_line_editor.h"
#include "console/io_scrolling.h"
#include "console/support/io_window_fixture.h"

namespace console {
namespace {

using test::IoWindowTest;
using test::kCellHeight;
using test::kCellWidth;
using test::Scroll;

class ScrollTest : public IoWindowTest {};

TEST_F(ScrollTest, TwentyRowsWithThirtyLinesScrollTwelveAndPageDownStopsThere) {
  write_lines(30);
  EXPECT_EQ(view.max_first_line, 12);
  scroll_vertically(window, VerticalRequest::top);
  ASSERT_EQ(view.first_line, 0);
  surface.forget();
  scroll_vertically(window, VerticalRequest::page_down);
  EXPECT_EQ(view.first_line, 12);
  EXPECT_EQ(surface.scrolls, (std::vector<Scroll>{{0, -12 * kCellHeight}}));
  EXPECT_EQ(surface.vertical.position, 12);
  EXPECT_EQ(surface.repaints, 1);
}

struct RangeCase {
  int lines;
  int rows;
  int max_first_line;
};

class VerticalRangeTest : public IoWindowTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(VerticalRangeTest, LeavesTwoLinesOfRoomBelowTheText) {
  const RangeCase& c = GetParam();
  for (int i = 0; i < c.lines; ++i) store.start_new_line();
  resize_to(80, c.rows);
  EXPECT_EQ(view.max_first_line, c.max_first_line);
  EXPECT_EQ(surface.vertical.max, c.max_first_line);
}

INSTANTIATE_TEST_SUITE_P(Sizes, VerticalRangeTest,
                         ::testing::Values(RangeCase{30, 20, 12}, RangeCase{18, 20, 0}, RangeCase{19, 20, 1},
                                           RangeCase{0, 0, 2}, RangeCase{5, 1, 6}));

TEST_F(ScrollTest, AResizeThatShowsEverythingPullsThePositionsBackToTheStart) {
  write_lines(30);
  show_output_line(window, std::string(100, 'w'));
  view.first_column = 20;
  resize_to(120, 40);
  EXPECT_EQ(view.first_line, 0);
  EXPECT_EQ(view.first_column, 0);
  EXPECT_EQ(surface.vertical.position, 0);
  EXPECT_EQ(surface.horizontal.position, 0);
  EXPECT_EQ(surface.horizontal.max, 0);
}

struct RequestCase {
  const char* name;
  ScrollBar bar;
  std::function<void(IoWindow&)> request;
  int position;
};

class ScrollRequestTest : public IoWindowTest, public ::testing::WithParamInterface<RequestCase> {
 protected:
  // 30 lines in 20 rows, one of them 100 columns in 80: the view at line 5
  // of 0 .. 12 and column 10 of 0 .. 20.
  void SetUp() override {
    show_output_line(window, std::string(100, 'w'));
    write_lines(29);
    view.first_line = 5;
    view.first_column = 10;
    surface.forget();
  }
};

TEST_P(ScrollRequestTest, MovesTheTextByTheClampedDelta) {
  const RequestCase& c = GetParam();
  bool vertical = c.bar == ScrollBar::vertical;
  c.request(window);
  int delta = c.position - (vertical ? 5 : 10);
  EXPECT_EQ(vertical ? view.first_line : view.first_column, c.position);
  if (delta == 0) {
    EXPECT_TRUE(surface.calls.empty());
    return;
  }
  EXPECT_EQ(surface.scrolls, (std::vector<Scroll>{vertical ? Scroll{0, -delta * kCellHeight}
                                                           : Scroll{-delta * kCellWidth, 0}}));
  EXPECT_EQ((vertical ? surface.vertical : surface.horizontal).position, c.position);
  // Only the vertical bar repaints at once.
  EXPECT_EQ(surface.repaints, vertical ? 1 : 0);
}

std::function<void(IoWindow&)> up_down(VerticalRequest request, int thumb = 0) {
  return [=](IoWindow& w) { scroll_vertically(w, request, thumb); };
}

std::function<void(IoWindow&)> sideways(HorizontalRequest request, int thumb = 0) {
  return [=](IoWindow& w) { scroll_horizontally(w, request, thumb); };
}

constexpr ScrollBar kV = ScrollBar::vertical;
constexpr ScrollBar kH = ScrollBar::horizontal;

INSTANTIATE_TEST_SUITE_P(
    Requests, ScrollRequestTest,
    ::testing::Values(RequestCase{"Top", kV, up_down(VerticalRequest::top), 0},
                      RequestCase{"Bottom", kV, up_down(VerticalRequest::bottom), 12},
                      RequestCase{"LineUp", kV, up_down(VerticalRequest::line_up), 4},
                      RequestCase{"LineDown", kV, up_down(VerticalRequest::line_down), 6},
                      RequestCase{"PageUpClampedToTheTop", kV, up_down(VerticalRequest::page_up), 0},
                      RequestCase{"PageDownClampedToTheBottom", kV, up_down(VerticalRequest::page_down), 12},
                      RequestCase{"ThumbReleased", kV, up_down(VerticalRequest::thumb_position, 9), 9},
                      RequestCase{"ThumbReleasedBeyondTheRange", kV, up_down(VerticalRequest::thumb_position, 40), 12},
                      RequestCase{"ThumbDraggedMovesNothing", kV, up_down(VerticalRequest::thumb_track, 9), 5},
                      RequestCase{"AnythingElseUpDown", kV, up_down(VerticalRequest::other, 9), 5},
                      RequestCase{"LeftEnd", kH, sideways(HorizontalRequest::left_end), 0},
                      RequestCase{"ColumnLeft", kH, sideways(HorizontalRequest::column_left), 9},
                      RequestCase{"ColumnRight", kH, sideways(HorizontalRequest::column_right), 11},
                      RequestCase{"PageLeft", kH, sideways(HorizontalRequest::page_left), 2},
                      RequestCase{"PageRight", kH, sideways(HorizontalRequest::page_right), 18},
                      RequestCase{"ThumbDragged", kH, sideways(HorizontalRequest::thumb_track, 15), 15},
                      RequestCase{"ThumbDraggedBeyondTheRange", kH, sideways(HorizontalRequest::thumb_track, 30), 20},
                      RequestCase{"ThumbReleasedMovesNothing", kH, sideways(HorizontalRequest::thumb_position, 15), 10},
                      RequestCase{"AnythingElseSideways", kH, sideways(HorizontalRequest::other, 15), 10}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScrollTest, PagesByOneLineInAWindowTooLowForARow) {
  write_lines(5);
  resize_to(80, 0);
  view.first_line = 3;
  scroll_vertically(window, VerticalRequest::page_up);
  EXPECT_EQ(view.first_line, 2);
  scroll_vertically(window, VerticalRequest::page_down);
  EXPECT_EQ(view.first_line, 3);
}

}  // namespace
}  // namespace console
