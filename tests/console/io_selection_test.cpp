// Marking text with the mouse: dragging, the word of a double click, and
// when Cut, Copy and Delete become available.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "console/io_line_editor.h"
#include "console/io_selection.h"
#include "console/support/io_window_fixture.h"

namespace console {
namespace {

using test::Invalidation;
using test::IoWindowTest;
using test::kCellHeight;
using test::kCellWidth;

// Pixels a little inside the cell of a column and a line index.
int x_of(int column) { return column * kCellWidth + 3; }
int y_of(int line_index) { return line_index * kCellHeight + 5; }

class SelectionTest : public IoWindowTest {
 protected:
  void SetUp() override {
    show_output_line(window, "alpha beta");
    show_output_line(window, "x  y");
    surface.forget();
  }

  void drag(int line_index, std::initializer_list<int> columns) {
    left_button_down(window);
    for (int column : columns) mouse_move(window, x_of(column), y_of(line_index), true);
    left_button_up(window);
  }

  void double_click(int column, int line_index) {
    left_button_down(window);
    left_button_up(window);
    left_double_click(window, x_of(column), y_of(line_index));
    left_button_up(window);
  }

  std::string selected() const {
    if (view.selection_count == 0) return "(none)";
    return line(view.selection_line + 1)
        .substr(static_cast<std::size_t>(view.selection_start),
                static_cast<std::size_t>(view.selection_end - view.selection_start));
  }

  bool ever_enabled() const {
    return std::count(surface.calls.begin(), surface.calls.end(), "enable_edit_items") > 0;
  }
};

struct WordCase {
  const char* name;
  int column;
  int line_index;
  const char* word;
};

class DoubleClickTest : public SelectionTest, public ::testing::WithParamInterface<WordCase> {};

TEST_P(DoubleClickTest, SelectsTheBlankSeparatedWordUnderThePointer) {
  const WordCase& c = GetParam();
  double_click(c.column, c.line_index);
  EXPECT_EQ(selected(), c.word);
  EXPECT_EQ(surface.edit_items_enabled, std::string(c.word) != "(none)");
  EXPECT_FALSE(view.dragging);
}

INSTANTIATE_TEST_SUITE_P(
    Words, DoubleClickTest,
    ::testing::Values(WordCase{"FirstLetterOfAlpha", 0, 0, "alpha"}, WordCase{"InsideAlpha", 3, 0, "alpha"},
                      WordCase{"BOfBeta", 6, 0, "beta"}, WordCase{"LastLetterOfBeta", 9, 0, "beta"},
                      WordCase{"BlankBetweenTakesTheWordBefore", 5, 0, "alpha"},
                      WordCase{"SecondOfTwoBlanksIsAnEmptyWord", 2, 1, "(none)"},
                      WordCase{"JustRightOfTheLine", 10, 0, "(none)"}, WordCase{"FarRightOfTheLine", 40, 0, "(none)"},
                      WordCase{"BelowTheLastLine", 0, 2, "(none)"}),
    [](const auto& info) { return std::string(info.param.name); });

struct DragCase {
  const char* name;
  int line_index;
  std::vector<int> columns;
  const char* selection;
};

class DragTest : public SelectionTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(DragTest, MarksFromWhereTheDragStartsToWhereThePointerIs) {
  const DragCase& c = GetParam();
  left_button_down(window);
  for (int column : c.columns) mouse_move(window, x_of(column), y_of(c.line_index), true);
  left_button_up(window);
  EXPECT_EQ(selected(), c.selection);
  EXPECT_EQ(surface.edit_items_enabled, std::string(c.selection) != "(none)");
}

INSTANTIATE_TEST_SUITE_P(
    Drags, DragTest,
    ::testing::Values(DragCase{"Rightwards", 0, {1, 4}, "lph"}, DragCase{"Leftwards", 0, {4, 1}, "lph"},
                      DragCase{"BeyondTheEndStopsAtTheLinesLength", 0, {6, 30}, "beta"},
                      DragCase{"StartingRightOfTheLastCharacter", 0, {12, 20}, "(none)"},
                      DragCase{"FromTheEndBackIntoTheLine", 0, {10, 6}, "beta"},
                      DragCase{"NearerStartMovesIn", 0, {2, 8, 3}, "ha be"},
                      DragCase{"NearerEndMovesIn", 0, {2, 8, 7}, "pha b"},
                      DragCase{"TieMovesTheEnd", 0, {3, 7, 5}, "ha"}, DragCase{"NoMovementIsNoSelection", 0, {3}, "(none)"},
                      DragCase{"BelowTheLastLine", 2, {0, 3}, "(none)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectionTest, DraggingOntoAnotherLineLeavesTheSelectionAsItWas) {
  left_button_down(window);
  mouse_move(window, x_of(1), y_of(0), true);
  mouse_move(window, x_of(4), y_of(0), true);
  mouse_move(window, x_of(3), y_of(1), true);
  left_button_up(window);
  EXPECT_EQ(selected(), "lph");
}

TEST_F(SelectionTest, APointerLeftOfTheWindowMeansColumnZero) {
  left_button_down(window);
  mouse_move(window, x_of(3), y_of(0), true);
  mouse_move(window, -20, y_of(0), true);
  left_button_up(window);
  EXPECT_EQ(selected(), "alp");
}

TEST_F(SelectionTest, MovesWithoutTheButtonHeldOrWithoutAPressMarkNothing) {
  mouse_move(window, x_of(1), y_of(0), true);
  left_button_down(window);
  mouse_move(window, x_of(1), y_of(0), false);
  EXPECT_EQ(view.selection_count, 0);
}

TEST_F(SelectionTest, AClickWithoutADragClearsTheSelectionAndKeepsTheEditItemsGray) {
  drag(0, {1, 4});
  ASSERT_TRUE(surface.edit_items_enabled);
  surface.forget();
  left_button_down(window);
  left_button_up(window);
  EXPECT_EQ(view.selection_count, 0);
  EXPECT_FALSE(surface.edit_items_enabled);
  EXPECT_FALSE(ever_enabled());
  EXPECT_EQ(surface.invalidations, (std::vector<Invalidation>{{{kCellWidth, 0, 4 * kCellWidth, kCellHeight}, true}}));
}

TEST_F(SelectionTest, TypingClearsTheSelection) {
  drag(0, {1, 4});
  type("z");
  EXPECT_EQ(view.selection_count, 0);
  EXPECT_FALSE(surface.edit_items_enabled);
  EXPECT_EQ(line(1), "alpha beta");
}

TEST_F(SelectionTest, TheSelectionMovesNeitherTheCaretNorTheText) {
  type("ab");
  drag(0, {1, 4});
  EXPECT_EQ(view.caret_column, 2);
  EXPECT_EQ(view.caret_row, 2);
  EXPECT_EQ(input_line(), "ab");
}

TEST_F(SelectionTest, SelectedTextIsHeldToWhatTheLineStillHolds) {
  type("abcdef");
  drag(2, {1, 5});
  ASSERT_EQ(selected_text(window), "bcde");
  for (int i = 0; i < 3; ++i) key_down(window, Key::left);
  key_down(window, Key::del);
  key_down(window, Key::del);
  EXPECT_EQ(input_line(), "abcf");
  EXPECT_EQ(selected_text(window), "bcf");
}

TEST_F(SelectionTest, CellsOutOfViewAreNotInvalidated) {
  drag(0, {1, 4});
  write_lines(30);  // the view scrolls past line 0, and the output clears the selection
  view.selection_count = 1;
  view.selection_line = 0;
  surface.forget();
  left_button_down(window);
  EXPECT_TRUE(surface.invalidations.empty());
}

TEST_F(SelectionTest, TheSelectionsCellsAreRedrawnAsItGrows) {
  left_button_down(window);
  mouse_move(window, x_of(1), y_of(1), true);
  surface.forget();
  mouse_move(window, x_of(3), y_of(1), true);
  // Before the move the range 1 .. 1 is empty; after it, columns 1 and 2.
  EXPECT_EQ(surface.invalidations,
            (std::vector<Invalidation>{{{kCellWidth, kCellHeight, 3 * kCellWidth, 2 * kCellHeight}, true}}));
}

}  // namespace
}  // namespace console
