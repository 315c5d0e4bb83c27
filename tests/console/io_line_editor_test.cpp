// The input line: insertion at the caret, Backspace, Delete, Tab, Enter, the
// keys that only scroll, and output lines arriving above the input line.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "console/io_line_editor.h"
#include "console/support/io_window_fixture.h"

namespace console {
namespace {

using test::Drawing;
using test::Invalidation;
using test::IoWindowTest;
using test::kCellHeight;
using test::kCellWidth;
using test::Scroll;

class LineEditorTest : public IoWindowTest {};

TEST_F(LineEditorTest, TwoLeftsThenXInsertBetweenTheFirstTwoLetters) {
  type("abc");
  key_down(window, Key::left);
  key_down(window, Key::left);
  type("X");
  EXPECT_EQ(input_line(), "aXbc");
  EXPECT_EQ(view.caret_column, 2);
  EXPECT_EQ(surface.caret_x, 2 * kCellWidth);
  EXPECT_EQ(surface.caret_y, 0);
}

struct TabCase {
  std::string before;
  int blanks;
};

class TabTest : public IoWindowTest, public ::testing::WithParamInterface<TabCase> {};

TEST_P(TabTest, TypesBlanksToTheNextMultipleOfEightAndAtLeastOne) {
  const TabCase& c = GetParam();
  type(c.before);
  type("\t");
  EXPECT_EQ(input_line(), c.before + std::string(static_cast<std::size_t>(c.blanks), ' '));
  EXPECT_EQ(view.caret_column, static_cast<int>(c.before.size()) + c.blanks);
}

INSTANTIATE_TEST_SUITE_P(Columns, TabTest,
                         ::testing::Values(TabCase{"", 8}, TabCase{"abc", 5}, TabCase{"abcdefg", 1},
                                           TabCase{"abcdefgh", 8}));

TEST_F(LineEditorTest, BackspaceAtColumnZeroDoesNothing) {
  type("ab");
  key_down(window, Key::left);
  key_down(window, Key::left);
  surface.forget();
  type("\b");
  EXPECT_EQ(input_line(), "ab");
  EXPECT_EQ(view.caret_column, 0);
  EXPECT_TRUE(surface.invalidations.empty());
}

TEST_F(LineEditorTest, DeleteAtTheEndOfTheLineDoesNothing) {
  type("ab");
  surface.forget();
  surface.text_unchanged = true;
  key_down(window, Key::del);
  EXPECT_EQ(input_line(), "ab");
  EXPECT_TRUE(surface.invalidations.empty());
  EXPECT_TRUE(surface.text_unchanged);
}

struct EditCase {
  const char* name;
  const char* typed;
  int lefts;
  Key key;
  const char* line;
  int caret_column;
};

class EditKeyTest : public IoWindowTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EditKeyTest, EditsTheInputLineAndRedrawsTheRestOfTheCaretRow) {
  const EditCase& c = GetParam();
  type(c.typed);
  for (int i = 0; i < c.lefts; ++i) key_down(window, Key::left);
  surface.forget();
  key_down(window, c.key);
  EXPECT_EQ(input_line(), c.line);
  EXPECT_EQ(view.caret_column, c.caret_column);
  EXPECT_EQ(surface.invalidations,
            (std::vector<Invalidation>{{{c.caret_column * kCellWidth, 0, 80 * kCellWidth, kCellHeight}, true}}));
}

INSTANTIATE_TEST_SUITE_P(Keys, EditKeyTest,
                         ::testing::Values(EditCase{"InsertOpensABlank", "abc", 2, Key::insert, "a bc", 1},
                                           EditCase{"InsertAtTheEnd", "abc", 0, Key::insert, "abc ", 3},
                                           EditCase{"DeleteTakesTheCharacterAtTheCaret", "abc", 2, Key::del, "ac", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LineEditorTest, BackspaceTakesTheCharacterBeforeTheCaret) {
  type("abc");
  key_down(window, Key::left);
  surface.forget();
  type("\b");
  EXPECT_EQ(input_line(), "ac");
  EXPECT_EQ(view.caret_column, 1);
  EXPECT_EQ(surface.invalidations, (std::vector<Invalidation>{{{kCellWidth, 0, 80 * kCellWidth, kCellHeight}, true}}));
}

TEST_F(LineEditorTest, CaretMovesBetweenColumnZeroAndTheLinesEnd) {
  type("abc");
  for (int i = 0; i < 5; ++i) key_down(window, Key::left);
  EXPECT_EQ(view.caret_column, 0);
  for (int i = 0; i < 5; ++i) key_down(window, Key::right);
  EXPECT_EQ(view.caret_column, 3);
}

TEST_F(LineEditorTest, RightInsertAndDeleteLeaveACompleteLastLineAlone) {
  show_output_line(window, "hello");
  surface.forget();
  key_down(window, Key::right);
  key_down(window, Key::insert);
  key_down(window, Key::del);
  EXPECT_EQ(store.line_count(), 1);
  EXPECT_EQ(line(1), "hello");
  EXPECT_EQ(view.caret_column, 0);
  EXPECT_TRUE(surface.invalidations.empty());
}

TEST_F(LineEditorTest, ATypedCharacterIsDrawnAtOnceInTheCaretsCellWithTheCaretHidden) {
  type("ab");
  surface.forget();
  type("c");
  EXPECT_EQ(surface.drawings, (std::vector<Drawing>{{2 * kCellWidth, 0, "c", TextColours::normal}}));
  auto at = [&](const char* name) { return std::find(surface.calls.begin(), surface.calls.end(), name); };
  EXPECT_LT(at("hide_caret"), at("draw_char_now"));
  EXPECT_LT(at("draw_char_now"), at("show_caret"));
}

TEST_F(LineEditorTest, TheCaretRowIsTheTypedLinesRowThenTheRowAfterIt) {
  show_output_line(window, "prompt");
  EXPECT_EQ(view.caret_row, 1);
  type("ab");
  EXPECT_EQ(store.line_count(), 2);
  EXPECT_EQ(view.caret_row, 1);
  type("\r");
  EXPECT_EQ(store.line_count(), 2);
  EXPECT_EQ(view.caret_row, 2);
  EXPECT_TRUE(view.line_complete);
}

TEST_F(LineEditorTest, EnterOnANewLineOnlyMakesAnEmptyLine) {
  show_output_line(window, "prompt");
  type("\r");
  EXPECT_EQ(store.line_count(), 2);
  EXPECT_EQ(line(2), "");
  EXPECT_EQ(view.caret_row, 2);
}

TEST_F(LineEditorTest, TabAndOrdinaryCharactersOpenANewLineButBackspaceDoesNot) {
  show_output_line(window, "x");
  type("\b");
  EXPECT_EQ(store.line_count(), 1);
  type("\t");
  EXPECT_EQ(store.line_count(), 2);
  EXPECT_EQ(line(2), "        ");
}

TEST_F(LineEditorTest, TheNineteenthLineInTwentyRowsScrollsTheViewUpOneLine) {
  write_lines(18);
  EXPECT_EQ(view.first_line, 0);
  surface.forget();
  write_lines(1);
  EXPECT_EQ(view.first_line, 1);
  EXPECT_EQ(surface.scrolls, (std::vector<Scroll>{{0, -kCellHeight}}));
  EXPECT_EQ(surface.repaints, 1);
  EXPECT_EQ(surface.vertical.max, 1);
  EXPECT_EQ(surface.vertical.position, 1);
}

TEST_F(LineEditorTest, EnterAtTheVeryEndOfTheRangeDoesNotMoveThePixelsAlone) {
  write_lines(30);
  type("a");
  resize_to(80, 20);  // the range now counts the line being typed
  key_down(window, Key::end);
  ASSERT_EQ(view.first_line, 13);
  surface.forget();
  type("\r");
  EXPECT_EQ(view.first_line, 13);
  EXPECT_TRUE(surface.scrolls.empty());
}

struct FollowCase {
  const char* name;
  int first_line;  // where the user scrolled to, of 0 .. 12
  const char* typed;
  int first_line_after;
};

class FollowTest : public IoWindowTest, public ::testing::WithParamInterface<FollowCase> {};

TEST_P(FollowTest, TypingInAViewScrolledFarUpJumpsBackToTheEnd) {
  const FollowCase& c = GetParam();
  write_lines(30);
  view.first_line = c.first_line;
  type(c.typed);
  EXPECT_EQ(view.first_line, c.first_line_after);
}

// Enter also scrolls one line for the line it ends; typing a character does
// not, its line is not yet ended.
INSTANTIATE_TEST_SUITE_P(Cases, FollowTest,
                         ::testing::Values(FollowCase{"CharacterFarUp", 0, "a", 12},
                                           FollowCase{"CharacterNearTheEnd", 8, "a", 8},
                                           FollowCase{"EmptyEnterFarUp", 0, "\r", 13},
                                           FollowCase{"EmptyEnterNearTheEnd", 8, "\r", 9}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LineEditorTest, TypingPastTheRightEdgeScrollsSidewaysAndEnterScrollsBack) {
  resize_to(10, 20);
  type("abcdefghijkl");  // 12 characters in 10 columns
  EXPECT_EQ(store.longest_line(), 12);
  // The caret's cell, column 12, is the last whole column of the view:
  // columns 3 to 12 are shown.
  EXPECT_EQ(view.max_first_column, 3);
  EXPECT_EQ(view.first_column, 3);
  surface.forget();
  type("\r");
  EXPECT_EQ(view.first_column, 0);
  EXPECT_EQ(surface.scrolls, (std::vector<Scroll>{{3 * kCellWidth, 0}}));
}

// Whether the caret's cell lies within the whole columns of the view.
bool caret_in_view(const IoView& view) {
  return view.caret_column >= view.first_column && view.caret_column < view.first_column + view.columns;
}

TEST_F(LineEditorTest, TheCaretStaysInViewWhileALongLineIsTypedAndErased) {
  resize_to(10, 20);
  for (int k = 1; k <= 30; ++k) {
    type("x");
    ASSERT_TRUE(caret_in_view(view)) << "after typing " << k;
    // The character just typed stands left of the caret, in view too.
    ASSERT_GE(view.caret_column - 1, view.first_column) << "after typing " << k;
  }
  EXPECT_EQ(view.first_column, 21);
  for (int k = 1; k <= 30; ++k) {
    type("\b");
    ASSERT_TRUE(caret_in_view(view)) << "after erasing " << k;
  }
  EXPECT_EQ(input_line(), "");
  EXPECT_EQ(view.first_column, 0);
}

// Back past the left edge the view jumps so that the caret stands in the
// last whole column, the text before it in view.
TEST_F(LineEditorTest, ErasingPastTheLeftEdgeBringsTheTextBeforeTheCaretIntoView) {
  resize_to(10, 20);
  type(std::string(30, 'x'));
  ASSERT_EQ(view.first_column, 21);
  for (int k = 0; k < 10; ++k) key_down(window, Key::left);  // caret 20, one left of the view
  EXPECT_EQ(view.caret_column, 20);
  EXPECT_EQ(view.first_column, 11);
  type("\b");
  EXPECT_EQ(view.caret_column, 19);
  EXPECT_EQ(view.first_column, 11);
}

TEST_F(LineEditorTest, RightFollowsTheCaretBackToTheEndOfTheLine) {
  resize_to(10, 20);
  type(std::string(30, 'x'));
  for (int k = 0; k < 30; ++k) key_down(window, Key::left);
  EXPECT_EQ(view.first_column, 0);
  for (int k = 0; k < 30; ++k) key_down(window, Key::right);
  EXPECT_EQ(view.caret_column, 30);
  EXPECT_EQ(view.first_column, 21);
}

TEST_F(LineEditorTest, AHundredColumnOutputLineInEightyColumnsGivesTwentyColumnsOfScroll) {
  show_output_line(window, std::string(100, 'w'));
  EXPECT_EQ(view.max_first_column, 20);
  EXPECT_EQ(surface.horizontal.max, 20);
  show_output_line(window, "short");
  resize_to(80, 20);
  EXPECT_EQ(view.max_first_column, 20);
}

TEST_F(LineEditorTest, OutputInvalidatesOnlyTheNewLinesCells) {
  write_lines(2);
  surface.forget();
  show_output_line(window, "abc");
  EXPECT_EQ(line(3), "abc");
  EXPECT_EQ(surface.invalidations,
            (std::vector<Invalidation>{{{0, 2 * kCellHeight, 3 * kCellWidth, 3 * kCellHeight}, true}}));
  EXPECT_EQ(view.caret_row, 3);
  EXPECT_EQ(view.caret_column, 0);
  EXPECT_TRUE(view.line_complete);
}

TEST_F(LineEditorTest, OutputReleasesAWaitingReadAndGraysTheEditItems) {
  view.waiting_for_input = true;
  surface.edit_items_enabled = true;
  show_output_line(window, "abc");
  EXPECT_FALSE(view.waiting_for_input);
  EXPECT_FALSE(surface.edit_items_enabled);
}

TEST_F(LineEditorTest, OutputWhileALineIsHalfTypedKeepsThatLineAndGoesOnTheRowBelow) {
  show_output_line(window, "p1");
  type("ab");
  surface.forget();
  show_output_line(window, "p2");
  EXPECT_EQ(store.line_count(), 3);
  EXPECT_EQ(line(2), "ab");
  EXPECT_EQ(line(3), "p2");
  EXPECT_EQ(surface.invalidations.back(),
            (Invalidation{{0, 2 * kCellHeight, 2 * kCellWidth, 3 * kCellHeight}, true}));
  EXPECT_EQ(view.caret_row, 3);
  type("c");
  EXPECT_EQ(line(4), "c");
  EXPECT_EQ(surface.drawings.back().y, 3 * kCellHeight);
}

struct ChangeCase {
  const char* name;
  std::function<void(IoWindow&)> act;
  bool changes_text;
};

class TextChangeTest : public IoWindowTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(TextChangeTest, OnlyChangesToTheStoreMarkTheTextAsChanged) {
  type("abc");
  key_down(window, Key::left);
  surface.text_unchanged = true;
  GetParam().act(window);
  EXPECT_EQ(surface.text_unchanged, !GetParam().changes_text);
}

void press(IoWindow& window, Key key) { key_down(window, key); }

INSTANTIATE_TEST_SUITE_P(
    Actions, TextChangeTest,
    ::testing::Values(
        ChangeCase{"Output", [](IoWindow& w) { show_output_line(w, "x"); }, true},
        ChangeCase{"TypedCharacter", [](IoWindow& w) { type_char(w, 'x'); }, true},
        ChangeCase{"Insert", [](IoWindow& w) { press(w, Key::insert); }, true},
        ChangeCase{"Delete", [](IoWindow& w) { press(w, Key::del); }, true},
        ChangeCase{"Backspace", [](IoWindow& w) { type_char(w, kBackspace); }, true},
        ChangeCase{"EmptyEnter", [](IoWindow& w) { type_char(w, kEnter); type_char(w, kEnter); }, true},
        ChangeCase{"EnterEndingTheTypedLine", [](IoWindow& w) { type_char(w, kEnter); }, false},
        ChangeCase{"Left", [](IoWindow& w) { press(w, Key::left); }, false},
        ChangeCase{"Right", [](IoWindow& w) { press(w, Key::right); }, false},
        ChangeCase{"ScrollKeys", [](IoWindow& w) { press(w, Key::home); press(w, Key::page_down); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct ScrollKeyCase {
  const char* name;
  Key key;
  int first_line;
};

class ScrollKeyTest : public IoWindowTest, public ::testing::WithParamInterface<ScrollKeyCase> {};

TEST_P(ScrollKeyTest, ScrollsTheViewAndLeavesTheCaretInTheInputLine) {
  write_lines(30);
  type("ab");
  view.first_line = 5;
  key_down(window, GetParam().key);
  EXPECT_EQ(view.first_line, GetParam().first_line);
  EXPECT_EQ(view.caret_row, 30);
  EXPECT_EQ(view.caret_column, 2);
}

INSTANTIATE_TEST_SUITE_P(Keys, ScrollKeyTest,
                         ::testing::Values(ScrollKeyCase{"Home", Key::home, 0}, ScrollKeyCase{"End", Key::end, 12},
                                           ScrollKeyCase{"PageUp", Key::page_up, 0},
                                           ScrollKeyCase{"PageDown", Key::page_down, 12},
                                           ScrollKeyCase{"Up", Key::up, 4}, ScrollKeyCase{"Down", Key::down, 6},
                                           ScrollKeyCase{"Other", Key::other, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace console
