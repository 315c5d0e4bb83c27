// How the process ends under the window environment, lived for real in a
// child process: the runtime's shutdown and its fatal end both keep the
// window open until the frame is closed, a close during a read ends the
// process from inside the close handler, and the whole comparison runs in
// the window from its prompts to its results.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTimer>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <vector>
#include <functional>
#include <string>

#include "compare/program.h"
#include "console/qt/computation_progress.h"
#include "console/qt/io_widget.h"
#include "console/qt/startup.h"
#include "console_qt/support/qt_application.h"
#include "rio/hooks.h"
#include "rio/rio.h"

namespace console::qt {
namespace {

constexpr int kStrayEnd = 3;  // a child that did not end as it should

bool shows_line(const TextStore& store, const std::string& line) {
  for (int k = 1; k <= store.line_count(); ++k) {
    if (store.line_text(k) == line) return true;
  }
  return false;
}

// Runs the action on the window thread as soon as the windows are served
// in the given condition; zero timers ask again meanwhile.
void when(std::function<bool()> ready, std::function<void()> action) {
  test::when(std::move(ready), std::move(action), [] { std::_Exit(kStrayEnd); });
}

// Closes the frame, the save prompt being answered No.
void close_when(ConsoleState& state, std::function<bool()> ready) {
  when(std::move(ready), [&state] { state.frame_window->close(); });
}

// The program has ended and its last words are in the window.
std::function<bool()> ended_showing(ConsoleState& state, std::string line) {
  return [&state, line] { return state.program_finished == 1 && shows_line(*state.text_store, line); };
}

// Types each answer, with Enter, when the program waits for it.
void answer_when_asked(ConsoleState& state, std::vector<std::string> answers) {
  if (answers.empty()) return;
  auto waiting = [&state] { return state.io_widget->window().view.waiting_for_input; };
  when(waiting, [&state, answers] {
    QTest::keyClicks(state.io_widget, QString::fromStdString(answers.front()));
    QTest::keyClick(state.io_widget, Qt::Key_Return);
    answer_when_asked(state, std::vector<std::string>(answers.begin() + 1, answers.end()));
  });
}

bool shows_text(const TextStore& store, const std::string& text) {
  for (int k = 1; k <= store.line_count(); ++k) {
    if (store.line_text(k).find(text) != std::string_view::npos) return true;
  }
  return false;
}

// The environment with the runtime's own shutdown, around a test body.
void run_environment(const std::function<void(ConsoleState&)>& body) {
  static ConsoleState state;
  StartupSettings settings;
  settings.program_body = [&body] { body(state); };
  settings.frame_hooks.run_message_box = [](QMessageBox&) { return static_cast<int>(QMessageBox::No); };
  console_startup(&test::qt_application(), nullptr, "", kShowDefault, state, std::move(settings));
  std::_Exit(kStrayEnd);
}

void write_console_line(const std::string& line) {
  std::string record = line + "\r\n";
  rio::call_write_hook(record.data(), static_cast<int>(record.size()), rio::kConsoleOutputHandle);
}

void open_missing_file() {
  int unit = 1;
  rio::OpenSpec open;
  open.unit = &unit;
  open.file = {"nodir/x.dat", 11};
  rio::io_open(open);
}

class ProcessEndTest : public ::testing::Test {
 protected:
  ProcessEndTest() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(ProcessEndTest, TheNormalEndWaitsForTheCloseAndExitsWithZero) {
  EXPECT_EXIT(run_environment([](ConsoleState& state) {
                write_console_line(" RESULTS IN MATRICES.DAT");
                close_when(state, ended_showing(state, " RESULTS IN MATRICES.DAT"));
                rio::io_finish();
              }),
              ::testing::ExitedWithCode(0), "");
}

TEST_F(ProcessEndTest, AFatalReportStandsInTheWindowAndTheCloseExitsWithMinusOne) {
  EXPECT_EXIT(run_environment([](ConsoleState& state) {
                close_when(state, ended_showing(state, "? System Error:"));
                open_missing_file();
              }),
              ::testing::ExitedWithCode(255), "");
}

TEST_F(ProcessEndTest, ACloseWhileTheProgramWaitsForAnAnswerExitsWithZero) {
  EXPECT_EXIT(run_environment([](ConsoleState& state) {
                write_console_line(" ENTER FILENAME FOR dendrogram 1");
                close_when(state, [&state] { return state.io_widget->window().view.waiting_for_input; });
                char answer[256];
                rio::call_read_hook(answer, static_cast<int>(sizeof answer));
                std::_Exit(kStrayEnd);  // the close never returns to the body
              }),
              ::testing::ExitedWithCode(0), "");
}

TEST_F(ProcessEndTest, TheComparisonRunsInTheWindowFromItsPromptsToItsResults) {
  const std::filesystem::path examples = std::filesystem::path(DENDRO_SOURCE_DIR) / "examples";
  // The results file goes to the current directory: one of the test's own.
  std::string pattern = (std::filesystem::temp_directory_path() / "console_qt_XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const std::filesystem::path scratch = pattern;
  EXPECT_EXIT(run_environment([&examples, &scratch](ConsoleState& state) {
                std::filesystem::current_path(scratch);
                answer_when_asked(state, {(examples / "five1.den").string(), (examples / "five2.den").string()});
                auto results_shown = [&state] {
                  return state.program_finished == 1 && shows_text(*state.text_store, "NO OF LEVELS =") &&
                         shows_text(*state.text_store, "SEE FILE MATRICES.DAT") &&
                         std::filesystem::file_size("MATRICES.DAT") > 0;
                };
                // The child runs the test from its start, so this directory
                // is the child's own: it cleans up after itself.
                when(results_shown, [&state, &scratch] {
                  std::filesystem::remove_all(scratch);
                  state.frame_window->close();
                });
                compare::compare_dendrograms();
              }),
              ::testing::ExitedWithCode(0), "");
  std::filesystem::remove_all(scratch);
}

// A directory of the test's own that the child, which runs the test from
// its start, finds again through the environment.
std::filesystem::path shared_scratch_directory() {
  constexpr const char* kVariable = "CONSOLE_QT_SCRATCH";
  if (const char* known = std::getenv(kVariable)) return known;
  std::string pattern = (std::filesystem::temp_directory_path() / "console_qt_XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  setenv(kVariable, pattern.c_str(), 1);
  return pattern;
}

TEST_F(ProcessEndTest, ACloseDuringTheComparisonStopsItWithoutAResultsFileAndExitsWithZero) {
  const std::filesystem::path examples = std::filesystem::path(DENDRO_SOURCE_DIR) / "examples";
  const std::filesystem::path scratch = shared_scratch_directory();
  ASSERT_FALSE(scratch.empty());
  EXPECT_EXIT(run_environment([&examples, &scratch](ConsoleState& state) {
                std::filesystem::current_path(scratch);
                answer_when_asked(state, {(examples / "five1.den").string(), (examples / "five2.den").string()});
                // The user closes the frame at the first sign of progress.
                compare::set_computation_observer([&state](int done, int total) {
                  if (state.closing == 0) {
                    QMetaObject::invokeMethod(
                        &test::qt_application(), [&state] { state.frame_window->close(); },
                        Qt::BlockingQueuedConnection);
                  }
                  return report_computation(state, done, total);
                });
                compare::compare_dendrograms();
              }),
              ::testing::ExitedWithCode(0), "");
  EXPECT_FALSE(std::filesystem::exists(scratch / "MATRICES.DAT"));
  unsetenv("CONSOLE_QT_SCRATCH");
  std::filesystem::remove_all(scratch);
}

}  // namespace
}  // namespace console::qt
