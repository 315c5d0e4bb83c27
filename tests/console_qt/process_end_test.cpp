// How the process ends under the window environment, lived for real in a
// child process: the runtime's shutdown and its fatal end both keep the
// window open until the frame is closed, a close during a read ends the
// process from inside the close handler, the whole comparison runs in the
// window from its prompts to its results, and a close during it leaves no
// results file however long the save prompt stays up. None of these ends
// gives a Qt warning (the test support makes one end the child).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "compare/program.h"
#include "console/qt/computation_progress.h"
#include "console/qt/io_widget.h"
#include "console/qt/startup.h"
#include "console_qt/support/qt_application.h"
#include "formats/den_reader.h"
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

int answer_no(QMessageBox&) { return static_cast<int>(QMessageBox::No); }

// The environment with the runtime's own shutdown, around a test body; the
// save prompt runs prompt.
void run_environment(const std::function<void(ConsoleState&)>& body,
                     std::function<int(QMessageBox&)> prompt = answer_no) {
  static ConsoleState state;
  StartupSettings settings;
  settings.program_body = [&body] { body(state); };
  settings.frame_hooks.run_message_box = std::move(prompt);
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

// A dendrogram of n objects merged two random clusters at a time, each
// merge at a height of its own.
compare::DendrogramFile random_dendrogram(int n, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<int> clusters(static_cast<std::size_t>(n));  // each named by its smallest object
  std::iota(clusters.begin(), clusters.end(), 1);
  compare::DendrogramFile file;
  file.object_count = n;
  for (int height = 1; clusters.size() > 1; ++height) {
    std::uniform_int_distribution<std::size_t> pick(0, clusters.size() - 1);
    const std::size_t a = pick(random);
    std::size_t b = pick(random);
    while (b == a) b = pick(random);
    const int first = std::min(clusters[a], clusters[b]), second = std::max(clusters[a], clusters[b]);
    file.merges.push_back({first, second, 0, 0, static_cast<float>(height)});
    clusters[a] = first;
    clusters.erase(clusters.begin() + static_cast<std::ptrdiff_t>(b));
  }
  return file;
}

// A user who closes the frame as the comparison starts and takes a while
// over the save prompt: longer than the comparison and its results file
// take, which the prompt waits for, up to a limit that only a halted
// comparison reaches.
int answer_no_after_the_comparison_could_have_ended(QMessageBox&) {
  const auto shown = std::chrono::steady_clock::now();
  while (!std::filesystem::exists("MATRICES.DAT") && std::chrono::steady_clock::now() - shown < std::chrono::seconds(2))
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return static_cast<int>(QMessageBox::No);
}

TEST_F(ProcessEndTest, NoAtASlowPromptDuringTheComparisonStillLeavesNoResultsFile) {
  const std::filesystem::path scratch = shared_scratch_directory();
  ASSERT_FALSE(scratch.empty());
  compare::write_den_file(random_dendrogram(300, 1), (scratch / "a.den").string());
  compare::write_den_file(random_dendrogram(300, 2), (scratch / "b.den").string());
  EXPECT_EXIT(run_environment(
                  [&scratch](ConsoleState& state) {
                    std::filesystem::current_path(scratch);
                    answer_when_asked(state, {"a.den", "b.den"});
                    // The level counts are shown as the comparison starts.
                    when([&state] { return shows_text(*state.text_store, "NO OF LEVELS ="); },
                         [&state] { state.frame_window->close(); });
                    compare::compare_dendrograms();
                  },
                  answer_no_after_the_comparison_could_have_ended),
              ::testing::ExitedWithCode(0), "");
  EXPECT_FALSE(std::filesystem::exists(scratch / "MATRICES.DAT"));
  unsetenv("CONSOLE_QT_SCRATCH");
  std::filesystem::remove_all(scratch);
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
