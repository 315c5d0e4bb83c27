// Closing the frame: the save prompt when the text changed, Cancel keeping
// everything as it was, the end of a program that still runs, and no
// prompt after a save.
#include <gtest/gtest.h>

#include <ostream>

#include <QAction>
#include <QKeySequence>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>

#include "console/qt/frame_menu.h"
#include "console_qt/support/frame_fixture.h"

namespace console::qt {
namespace {

using test::FrameTest;
using Strings = std::vector<std::string>;

TEST_F(FrameTest, ThePromptAsksToSaveTheWindowWithYesNoAndCancel) {
  write_line(" ENTER FILENAME FOR dendrogram 1");
  frame->close();
  ASSERT_EQ(modal.boxes.size(), 1u);
  const test::ShownBox& box = modal.boxes[0];
  EXPECT_EQ(box.title, "TOLM");
  EXPECT_EQ(box.text, "Save the Input/Output window?");
  EXPECT_EQ(box.icon, QMessageBox::Warning);
  EXPECT_EQ(box.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

TEST_F(FrameTest, CancelLeavesTheFrameOpenAndNothingChanged) {
  write_line("text");
  modal.answers = {QMessageBox::Cancel};
  EXPECT_FALSE(frame->close());
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(state.closing, 0);
  EXPECT_FALSE(state.quit_received);
  EXPECT_EQ(modal.finished, 0);
}

struct CloseCase {
  const char* how;
  bool by_exit_command;
  QMessageBox::StandardButton answer;
  Strings service_calls;
};

void PrintTo(const CloseCase& c, std::ostream* out) { *out << c.how; }

class CloseAnswerTest : public FrameTest, public ::testing::WithParamInterface<CloseCase> {
 protected:
  void close_frame() {
    if (GetParam().by_exit_command) {
      frame->dispatch_command(kExit);
    } else {
      frame->close();
    }
  }
};

TEST_P(CloseAnswerTest, WhileTheProgramRunsClosesAndEndsTheProgramAtOnce) {
  write_line("ENTER FILENAME");
  modal.answers = {GetParam().answer};
  close_frame();
  EXPECT_FALSE(frame->isVisible());
  EXPECT_EQ(state.closing, 1);
  EXPECT_TRUE(state.quit_received);
  EXPECT_EQ(modal.finished, 1);
  EXPECT_EQ(services.calls, GetParam().service_calls);
}

TEST_P(CloseAnswerTest, AfterTheProgramEndedClosesWithoutEndingItAgain) {
  write_line("results");
  state.program_finished = 1;
  modal.answers = {GetParam().answer};
  close_frame();
  EXPECT_FALSE(frame->isVisible());
  EXPECT_TRUE(state.quit_received);
  EXPECT_EQ(modal.finished, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CloseAnswerTest,
    ::testing::Values(CloseCase{"close, no", false, QMessageBox::No, {}},
                      CloseCase{"exit, no", true, QMessageBox::No, {}},
                      CloseCase{"close, yes", false, QMessageBox::Yes, {"choose ", "save /tmp/out/RUN1.TXT"}},
                      CloseCase{"exit, yes", true, QMessageBox::Yes, {"choose ", "save /tmp/out/RUN1.TXT"}}),
    [](const auto& info) {
      std::string name = info.param.how;
      std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
      return name;
    });

TEST_F(FrameTest, YesWithTheSaveAsDialogCancelledClosesWithoutSaving) {
  write_line("text");
  services.confirm_dialog = false;
  modal.answers = {QMessageBox::Yes};
  frame->close();
  EXPECT_FALSE(frame->isVisible());
  EXPECT_EQ(services.calls, (Strings{"choose "}));
}

TEST_F(FrameTest, YesWithAFailedSaveKeepsTheFrameOpenWithItsText) {
  write_line("results");
  services.text_unchanged = nullptr;  // the save reports an error instead
  modal.answers = {QMessageBox::Yes};
  EXPECT_FALSE(frame->close());
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(state.closing, 0);
  EXPECT_EQ(modal.finished, 0);
  EXPECT_EQ(services.calls, (Strings{"choose ", "save /tmp/out/RUN1.TXT"}));
}

TEST_F(FrameTest, YesAfterASaveAsWritesToThatFileAndLeavesTheTitle) {
  write_line("one");
  frame->dispatch_command(kSaveAs);
  state.io_window->setWindowTitle("kept");
  write_line("two");
  modal.answers = {QMessageBox::Yes};
  frame->close();
  EXPECT_EQ(services.calls, (Strings{"choose ", "save /tmp/out/RUN1.TXT", "save /tmp/out/RUN1.TXT"}));
  EXPECT_EQ(state.io_window->windowTitle(), "kept");
}

TEST_F(FrameTest, SavingThenClosingWithoutNewOutputAsksNothing) {
  write_line("results");
  frame->dispatch_command(kSave);
  frame->close();
  EXPECT_TRUE(modal.boxes.empty());
  EXPECT_FALSE(frame->isVisible());
}

TEST_F(FrameTest, OutputAfterASaveMakesClosingAskAgain) {
  write_line("results");
  frame->dispatch_command(kSave);
  write_line("more");
  frame->close();
  EXPECT_EQ(modal.boxes.size(), 1u);
}

TEST_F(FrameTest, TheInputOutputWindowCannotBeClosedOnItsOwn) {
  EXPECT_FALSE(state.io_window->close());
  EXPECT_TRUE(state.io_window->isVisible());
  EXPECT_FALSE(state.io_window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
  for (QAction* item : state.io_window->systemMenu()->actions()) {
    if (item->shortcut() == QKeySequence(QKeySequence::Close)) {
      EXPECT_FALSE(item->isEnabled());
    }
  }
}

}  // namespace
}  // namespace console::qt
