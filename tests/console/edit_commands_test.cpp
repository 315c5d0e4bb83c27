// Cut, Copy, Paste and Delete on the Input/Output selection, against a
// clipboard that records what it was asked and can fail at any step.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "console/edit_commands.h"
#include "console/io_line_editor.h"
#include "console/io_selection.h"
#include "console/save_text.h"
#include "console/support/io_window_fixture.h"
#include "console/support/scratch_directory.h"

namespace console {
namespace {

using test::Invalidation;
using test::IoWindowTest;
using test::kCellHeight;
using test::kCellWidth;

enum class Step { none, open, empty, set_text, get_text };

class FakeClipboard : public Clipboard {
 public:
  bool open() override { return step("open"); }
  bool empty() override {
    if (!step("empty")) return false;
    held.reset();
    return true;
  }
  bool set_text(const std::string& block) override {
    if (!step("set_text")) return false;
    held = block;
    return true;
  }
  bool has_text() override {
    calls.push_back("has_text");
    return held.has_value();
  }
  std::optional<std::string> get_text() override {
    if (!step("get_text")) return std::nullopt;
    return held;
  }
  void close() override { calls.push_back("close"); }

  std::optional<std::string> held;
  Step failing = Step::none;
  std::vector<std::string> calls;

 private:
  bool step(const char* name) {
    calls.push_back(name);
    return name != step_name(failing);
  }
  static std::string step_name(Step s) {
    switch (s) {
      case Step::open: return "open";
      case Step::empty: return "empty";
      case Step::set_text: return "set_text";
      case Step::get_text: return "get_text";
      case Step::none: break;
    }
    return "";
  }
};

class EditCommandsTest : public IoWindowTest {
 protected:
  // A drag over the cells start .. end - 1 of a line, as the user marks it.
  void select(int line_index, int start, int end) {
    left_button_down(window);
    mouse_move(window, start * kCellWidth + 1, line_index * kCellHeight + 1, true);
    mouse_move(window, end * kCellWidth + 1, line_index * kCellHeight + 1, true);
    left_button_up(window);
    ASSERT_EQ(view.selection_count, 1);
  }

  FakeClipboard clipboard;
};

TEST_F(EditCommandsTest, CopyOfFiveCharactersPutsThemAndANulOnTheClipboard) {
  show_output_line(window, "hello world");
  select(0, 6, 11);
  EXPECT_EQ(copy_selection(window, clipboard), 1);
  EXPECT_EQ(clipboard.held, std::string("world\0", 6));
  EXPECT_EQ(clipboard.calls, (std::vector<std::string>{"open", "empty", "set_text", "close"}));
  EXPECT_EQ(line(1), "hello world");
  EXPECT_EQ(view.selection_count, 1) << "a copy keeps the selection";
}

struct CopyFailureCase {
  const char* name;
  Step failing;
  std::vector<std::string> calls;
};

class CopyFailureTest : public EditCommandsTest, public ::testing::WithParamInterface<CopyFailureCase> {};

TEST_P(CopyFailureTest, AFailedCopyReportsZeroAndCutThenDeletesNothing) {
  show_output_line(window, "hello world");
  clipboard.held = std::string("other\0", 6);
  clipboard.failing = GetParam().failing;
  select(0, 0, 5);
  surface.text_unchanged = true;
  EXPECT_EQ(cut_selection(window, clipboard), 0);
  EXPECT_EQ(clipboard.calls, GetParam().calls);
  EXPECT_EQ(line(1), "hello world");
  EXPECT_TRUE(surface.text_unchanged);
  EXPECT_EQ(view.selection_count, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CopyFailureTest,
    ::testing::Values(CopyFailureCase{"ClipboardCannotBeOpened", Step::open, {"open"}},
                      CopyFailureCase{"ClipboardCannotBeEmptied", Step::empty, {"open", "empty", "close"}},
                      CopyFailureCase{"TextCannotBeHandedOver", Step::set_text,
                                      {"open", "empty", "set_text", "close"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditCommandsTest, CopyWithoutASelectionLeavesTheClipboardAlone) {
  show_output_line(window, "hello");
  EXPECT_EQ(copy_selection(window, clipboard), 0);
  EXPECT_TRUE(clipboard.calls.empty());
}

TEST_F(EditCommandsTest, CutOnAnEarlierLineShortensItAndASaveWritesTheShortenedLine) {
  show_output_line(window, "first line");
  show_output_line(window, "second");
  type("typed");
  select(0, 5, 10);
  surface.text_unchanged = true;
  EXPECT_EQ(cut_selection(window, clipboard), 1);
  EXPECT_EQ(clipboard.held, std::string(" line\0", 6));
  EXPECT_EQ(line(1), "first");
  EXPECT_EQ(line(2), "second");
  EXPECT_EQ(line(3), "typed");
  EXPECT_FALSE(surface.text_unchanged);
  EXPECT_EQ(view.selection_count, 0);
  EXPECT_FALSE(surface.edit_items_enabled);

  test::ScratchDirectory scratch;
  struct : MessageSink {
    void warn(std::string_view, std::string_view) override { ADD_FAILURE() << "no message expected"; }
  } messages;
  int text_unchanged = 0;
  save_window_text(store, scratch.path_of("cut.txt"), messages, text_unchanged);
  EXPECT_EQ(test::read_file_bytes(scratch.path_of("cut.txt")), "first\r\nsecond\r\ntyped\r\n");
}

struct CaretCase {
  const char* name;
  int lefts;  // caret moves left from the end of "abcdefgh"
  int start;
  int end;
  const char* line;
  int caret;
};

class DeleteCaretTest : public EditCommandsTest, public ::testing::WithParamInterface<CaretCase> {};

TEST_P(DeleteCaretTest, TheCaretFollowsTheTextItStandsIn) {
  const CaretCase& c = GetParam();
  type("abcdefgh");
  for (int i = 0; i < c.lefts; ++i) key_down(window, Key::left);
  select(view.caret_row, c.start, c.end);
  delete_selection(window);
  EXPECT_EQ(input_line(), c.line);
  EXPECT_EQ(view.caret_column, c.caret);
  EXPECT_EQ(surface.caret_x, c.caret * kCellWidth);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, DeleteCaretTest,
    ::testing::Values(CaretCase{"LeftOfTheCaretMovesItByTheLength", 0, 1, 3, "adefgh", 6},
                      CaretCase{"ContainingTheCaretMovesItToTheStart", 3, 3, 7, "abch", 3},
                      CaretCase{"EndingAtTheCaretMovesItToTheStart", 3, 2, 5, "abfgh", 2},
                      CaretCase{"RightOfTheCaretLeavesIt", 6, 4, 6, "abcdgh", 2},
                      CaretCase{"StartingAtTheCaretLeavesIt", 4, 4, 6, "abcdgh", 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditCommandsTest, DeleteOnAnOutputLineLeavesTheCaretInTheInputLine) {
  show_output_line(window, "abcdef");
  type("xyz");
  select(0, 0, 2);
  delete_selection(window);
  EXPECT_EQ(line(1), "cdef");
  EXPECT_EQ(input_line(), "xyz");
  EXPECT_EQ(view.caret_column, 3);
}

TEST_F(EditCommandsTest, DeleteRedrawsTheRestOfTheRowAndTheSelectedCellsAndGraysTheItems) {
  show_output_line(window, "zero");
  show_output_line(window, "one two three");
  select(1, 4, 7);
  surface.forget();
  delete_selection(window);
  int top = 1 * kCellHeight;
  int bottom = top + kCellHeight;
  EXPECT_EQ(surface.invalidations, (std::vector<Invalidation>{{{4 * kCellWidth, top, 80 * kCellWidth, bottom}, true},
                                                               {{4 * kCellWidth, top, 7 * kCellWidth, bottom}, true}}));
  EXPECT_EQ(line(2), "one  three");
  EXPECT_EQ(view.selection_count, 0);
  EXPECT_FALSE(surface.edit_items_enabled);
}

TEST_F(EditCommandsTest, DeleteWithoutASelectionChangesNothing) {
  show_output_line(window, "abc");
  surface.forget();
  surface.text_unchanged = true;
  delete_selection(window);
  EXPECT_EQ(line(1), "abc");
  EXPECT_TRUE(surface.text_unchanged);
  EXPECT_TRUE(surface.invalidations.empty());
}

TEST_F(EditCommandsTest, PastingTwoThousandCharactersTypesTheFirstThousandAndTwentyFour) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text.push_back(static_cast<char>('a' + i % 26));
  clipboard.held = text + '\0';
  paste_clipboard(window, clipboard);
  EXPECT_EQ(input_line(), text.substr(0, 1024));
  EXPECT_EQ(view.caret_column, 1024);
  EXPECT_EQ(clipboard.calls, (std::vector<std::string>{"has_text", "open", "get_text", "close"}));
}

struct PasteCase {
  const char* name;
  std::string block;
  std::vector<std::string> lines;
};

class PasteTest : public EditCommandsTest, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(PasteTest, PastingIsTypingTheCharactersUpToTheFirstNul) {
  show_output_line(window, "prompt");
  clipboard.held = GetParam().block;
  paste_clipboard(window, clipboard);
  std::vector<std::string> typed;
  for (int k = 2; k <= store.line_count(); ++k) typed.push_back(line(k));
  EXPECT_EQ(typed, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, PasteTest,
    ::testing::Values(PasteCase{"TextAfterTheFirstNulIsLeftOut", std::string("abc\0def", 7), {"abc"}},
                      PasteCase{"ABlockWithoutANulIsTakenWhole", "abc", {"abc"}},
                      PasteCase{"ACarriageReturnEndsTheLine", "ab\rcd", {"ab", "cd"}},
                      PasteCase{"ALineFeedIsTypedAsACharacter", "ab\r\ncd", {"ab", "\ncd"}},
                      PasteCase{"ATabTypesBlanksToTheNextStop", "a\tb", {"a       b"}},
                      PasteCase{"AnEmptyBlockTypesNothing", std::string("\0x", 2), {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditCommandsTest, PasteStopsAtTheEnterThatAnswersAWaitingReadAndHandsBackTheRest) {
  view.waiting_for_input = true;
  clipboard.held = "file1\r\nfile2\r\n";
  EXPECT_EQ(paste_clipboard(window, clipboard), "\nfile2\r\n");
  EXPECT_FALSE(view.waiting_for_input);
  EXPECT_EQ(store.line_count(), 1);
  EXPECT_EQ(line(1), "file1");
  // The next read, once its wait has begun, gets the rest's first line.
  view.waiting_for_input = true;
  EXPECT_EQ(type_pasted(window, "\nfile2\r\n"), "\n");
  EXPECT_EQ(store.line_count(), 2);
  EXPECT_EQ(line(2), "\nfile2");
}

TEST_F(EditCommandsTest, PasteGoesInAtTheCaretAndOnlyClearsTheHighlight) {
  show_output_line(window, "keep me");
  type("ad");
  key_down(window, Key::left);
  select(0, 0, 4);
  clipboard.held = "bc";
  paste_clipboard(window, clipboard);
  EXPECT_EQ(line(1), "keep me");
  EXPECT_EQ(input_line(), "abcd");
  EXPECT_EQ(view.caret_column, 3);
  EXPECT_EQ(view.selection_count, 0);
  EXPECT_FALSE(surface.edit_items_enabled);
}

struct PasteFailureCase {
  const char* name;
  bool holds_text;
  Step failing;
  std::vector<std::string> calls;
};

class PasteFailureTest : public EditCommandsTest, public ::testing::WithParamInterface<PasteFailureCase> {};

TEST_P(PasteFailureTest, APasteThatCannotReadTheClipboardTypesNothing) {
  const PasteFailureCase& c = GetParam();
  if (c.holds_text) clipboard.held = "abc";
  clipboard.failing = c.failing;
  paste_clipboard(window, clipboard);
  EXPECT_EQ(store.line_count(), 0);
  EXPECT_EQ(clipboard.calls, c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, PasteFailureTest,
    ::testing::Values(PasteFailureCase{"NoPlainText", false, Step::none, {"has_text"}},
                      PasteFailureCase{"ClipboardCannotBeOpened", true, Step::open, {"has_text", "open"}},
                      PasteFailureCase{"NoBlockToGet", true, Step::get_text, {"has_text", "open", "get_text", "close"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace console
