// The start-up: the caption from the executable's name, the command tail,
// the windows it makes, the refusals, and the program body running inside
// it until the frame is closed.
#include <gtest/gtest.h>

#include <ostream>

#include <QApplication>
#include <QMdiSubWindow>
#include <QTest>
#include <QTimer>

#include "console/qt/io_widget.h"
#include "console/qt/startup.h"
#include "console_qt/support/frame_fixture.h"
#include "console_qt/support/qt_application.h"
#include "rio/hooks.h"

namespace console::qt {
namespace {

struct NameCase {
  const char* path;
  const char* bare;
};

void PrintTo(const NameCase& c, std::ostream* out) { *out << '"' << c.path << '"'; }

class BareFileNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(BareFileNameTest, IsWhatFollowsTheLastSeparator) { EXPECT_EQ(bare_file_name(GetParam().path), GetParam().bare); }

INSTANTIATE_TEST_SUITE_P(Paths, BareFileNameTest,
                         ::testing::Values(NameCase{"C:\\A\\B\\PROGRAM.EXE", "PROGRAM.EXE"},
                                           NameCase{"/usr/local/bin/dendrocompare", "dendrocompare"},
                                           NameCase{"dendrocompare", "dendrocompare"}, NameCase{"/opt/x/", ""}));

struct TailCase {
  const char* command_line;
  const char* tail;
};

void PrintTo(const TailCase& c, std::ostream* out) { *out << '"' << c.command_line << '"'; }

class CommandTailTest : public ::testing::TestWithParam<TailCase> {};

TEST_P(CommandTailTest, SkipsTheProgramNameAndTheBlanksAfterIt) {
  EXPECT_EQ(command_tail_of(GetParam().command_line), GetParam().tail);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, CommandTailTest,
                         ::testing::Values(TailCase{"prog", ""}, TailCase{"prog  \t one two", "one two"},
                                           TailCase{"\"my prog\" x", "x"}, TailCase{"\"my prog\"x", "x"},
                                           TailCase{"\"unclosed quote", ""}, TailCase{"prog\targ ", "arg "},
                                           TailCase{"", ""}));

// A start-up with a test's own program body and its dialogs answered.
class StartupTest : public ::testing::Test {
 protected:
  StartupTest() {
    test::qt_application();
    modal.log = &log;
  }
  ~StartupTest() override {
    rio::install_console_hooks({});
    delete state.frame_window;
  }

  int start(ProgramBody body, const void* previous_instance = nullptr) {
    StartupSettings settings;
    settings.program_body = std::move(body);
    settings.frame_hooks = modal.hooks();
    settings.module_file_name = "C:\\A\\B\\PROGRAM.EXE";
    settings.make_services = [this](console::IoWindow& window, int& text_unchanged) {
      services_window = &window;
      auto services = std::make_unique<test::RecordingServices>();
      services->text_unchanged = &text_unchanged;
      return services;
    };
    return console_startup(&test::qt_application(), previous_instance, "", kShowDefault, state,
                           std::move(settings));
  }

  static void write(const std::string& line) {
    std::string record = line + "\r\n";
    rio::call_write_hook(record.data(), static_cast<int>(record.size()), rio::kConsoleOutputHandle);
  }

  static std::string read() {
    char buffer[256];
    int count = rio::call_read_hook(buffer, static_cast<int>(sizeof buffer));
    return std::string(buffer, static_cast<std::size_t>(count));
  }

  // Runs the action on the window thread once the condition holds there;
  // the body runs on a thread of its own.
  static void when(std::function<bool()> ready, std::function<void()> action) {
    test::when(std::move(ready), std::move(action));
  }

  // Runs the check on the window thread, where the windows live, and waits.
  static void on_window_thread(const std::function<void()>& check) {
    QMetaObject::invokeMethod(&test::qt_application(), check, Qt::BlockingQueuedConnection);
  }

  std::function<bool()> waiting_for_answer() {
    return [this] { return state.io_widget->window().view.waiting_for_input; };
  }

  ConsoleState state;
  test::ModalRecorder modal;
  std::vector<std::string> log;
  console::IoWindow* services_window = nullptr;
};

TEST_F(StartupTest, MakesTheFrameAndTheInputOutputWindowBeforeTheBodyRuns) {
  bool ran = false;
  start([&] {
    ran = true;
    on_window_thread([&] {
      ASSERT_NE(state.frame_window, nullptr);
      EXPECT_EQ(state.frame_window->windowTitle(), "PROGRAM.EXE");
      EXPECT_TRUE(state.frame_window->isVisible());
      ASSERT_NE(state.io_window, nullptr);
      EXPECT_EQ(state.io_window->windowTitle(), "Input/Output");
      EXPECT_EQ(state.io_window->geometry(), QRect(15, 15, 600, 300));
      EXPECT_EQ(state.next_menu_command, 800);
      EXPECT_EQ(services_window, &state.io_widget->window());
    });
  });
  EXPECT_TRUE(ran);
}

TEST_F(StartupTest, ABodyThatReturnsIsEndedThroughTheShutdown) {
  EXPECT_EQ(start([&] { log.push_back("body"); }), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"body", "finish"}));
}

TEST_F(StartupTest, APreviousInstanceMakesNoWindowAndReturnsZero) {
  int previous = 1;
  bool ran = false;
  EXPECT_EQ(start([&] { ran = true; }, &previous), 0);
  EXPECT_FALSE(ran);
  EXPECT_EQ(state.frame_window, nullptr);
}

TEST_F(StartupTest, WithoutAFrameTheExitHookDoesNotWait) {
  int previous = 1;
  start([] {}, &previous);
  rio::call_exit_hook(0);  // returning at all is the point
  EXPECT_EQ(state.program_finished, 1);
}

TEST_F(StartupTest, TheBodysEndKeepsTheWindowOpenUntilTheFrameIsClosed) {
  modal.answers = {QMessageBox::No};
  start([&] {
    write(" NO OF LEVELS =");
    when([&] { return state.program_finished == 1; }, [&] {
      log.push_back(state.frame_window->isVisible() ? "open after the end" : "gone");
      state.frame_window->close();
    });
    rio::call_exit_hook(0);
    log.push_back("exit hook returned");
  });
  EXPECT_EQ(log, (std::vector<std::string>{"open after the end", "prompt", "exit hook returned", "finish"}));
  EXPECT_EQ(state.text_store->line_text(1), " NO OF LEVELS =");
}

TEST_F(StartupTest, CancelWhileTheProgramWaitsKeepsItWaitingForItsAnswer) {
  std::string answer;
  modal.answers = {QMessageBox::Cancel};
  start([&] {
    write(" ENTER FILENAME FOR dendrogram 1");
    when(waiting_for_answer(), [&] { state.frame_window->close(); });
    when([&] { return modal.boxes.size() == 1 && waiting_for_answer()(); }, [&] {
      QTest::keyClicks(state.io_widget, "tree.txt");
      QTest::keyClick(state.io_widget, Qt::Key_Return);
    });
    answer = read();
    log.push_back("answered");
  });
  EXPECT_EQ(answer, "tree.txt\r\n");
  EXPECT_EQ(log, (std::vector<std::string>{"prompt", "answered", "finish"}));
  EXPECT_EQ(state.closing, 0);
}

TEST_F(StartupTest, NoWhileTheProgramWaitsEndsItFromTheCloseHandler) {
  modal.answers = {QMessageBox::No};
  start([&] {
    write(" ENTER FILENAME FOR dendrogram 1");
    when(waiting_for_answer(), [&] { state.frame_window->close(); });
    read();
    log.push_back("read ended by the close");
  });
  EXPECT_EQ(log, (std::vector<std::string>{"prompt", "finish", "read ended by the close", "finish"}));
  EXPECT_EQ(state.closing, 1);
}

}  // namespace
}  // namespace console::qt
