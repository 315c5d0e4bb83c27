// The program body on its own thread: the windows answer paint and resize
// requests at once while the body computes, its lines arrive unchanged and
// in order, the frame shows its progress with the busy cursor, and a close
// during the computation stops it after the save prompt.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QMessageBox>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QAction>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "console/qt/computation_progress.h"
#include "console/qt/graphics_window.h"
#include "console/qt/program_menus.h"
#include "console/qt/program_timers.h"
#include "console/qt/io_widget.h"
#include "console/qt/startup.h"
#include "console_qt/support/frame_fixture.h"
#include "console_qt/support/qt_application.h"
#include "rio/hooks.h"

namespace console::qt {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

struct ProgressCase {
  int done;
  int total;
  const char* text;
};

class ProgressTextTest : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(ProgressTextTest, GivesTheShareRoundedDownAndTheLevels) {
  EXPECT_EQ(computation_progress_text(GetParam().done, GetParam().total).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Shares, ProgressTextTest,
                         ::testing::Values(
                             ProgressCase{740, 1999, "Comparing: 37% (740 of the 1999 levels of dendrogram 2 below its top)"},
                             ProgressCase{0, 1999, "Comparing: 0% (0 of the 1999 levels of dendrogram 2 below its top)"},
                             ProgressCase{1998, 1999, "Comparing: 99% (1998 of the 1999 levels of dendrogram 2 below its top)"},
                             ProgressCase{1999, 1999, "Comparing: 100% (1999 of the 1999 levels of dendrogram 2 below its top)"},
                             ProgressCase{1, 3, "Comparing: 33% (1 of the 3 levels of dendrogram 2 below its top)"}));

// The exact comparison counts the levels of the first dendrogram.
TEST(ExactProgressTextTest, NamesWhatItDoesAndWhoseLevelsItCounts) {
  EXPECT_EQ(computation_progress_text(10, 40, {"Computing exact values", 1}).toStdString(),
            "Computing exact values: 25% (10 of the 40 levels of dendrogram 1 below its top)");
}

// A console record as the runtime hands it over.
void write_line(const std::string& line) {
  std::string record = line + "\r\n";
  rio::call_write_hook(record.data(), static_cast<int>(record.size()), rio::kConsoleOutputHandle);
}

// A start-up whose program body is the test's own.
class BodyThreadTest : public ::testing::Test {
 protected:
  BodyThreadTest() {
    test::qt_application();
    modal.log = &log;
  }
  ~BodyThreadTest() override {
    rio::install_console_hooks({});
    delete state.frame_window;
  }

  void start(ProgramBody body, FrameHooks hooks) {
    StartupSettings settings;
    settings.program_body = std::move(body);
    settings.frame_hooks = std::move(hooks);
    settings.module_file_name = "dendrocompare";
    console_startup(&test::qt_application(), nullptr, "", kShowDefault, state, std::move(settings));
  }
  void start(ProgramBody body) { start(std::move(body), modal.hooks()); }

  // The frame is closed once close_when() holds; its save prompt runs
  // prompt, which may answer it through answer().
  void start_with_prompt(std::function<int(QMessageBox&)> prompt, std::function<bool()> close_when,
                         ProgramBody body) {
    FrameHooks hooks = modal.hooks();
    answer = hooks.run_message_box;
    hooks.run_message_box = std::move(prompt);
    when(std::move(close_when), [this] { state.frame_window->close(); });
    start(std::move(body), std::move(hooks));
  }

  // Runs the action on the window thread once the condition holds there.
  static void when(std::function<bool()> ready, std::function<void()> action) {
    test::when(std::move(ready), std::move(action));
  }

  static void on_window_thread(const std::function<void()>& check) {
    QMetaObject::invokeMethod(&test::qt_application(), check, Qt::BlockingQueuedConnection);
  }

  std::vector<std::string> store_lines() const {
    std::vector<std::string> lines;
    for (int k = 1; k <= state.text_store->line_count(); ++k) lines.emplace_back(state.text_store->line_text(k));
    return lines;
  }

  ConsoleState state;
  test::ModalRecorder modal;
  std::function<int(QMessageBox&)> answer;  // the recorder's answer to a box
  std::vector<std::string> log;
};

// The sum of the squares 1 .. n modulo 2^32, by the loop the body runs.
std::uint32_t sum_of_squares(std::uint32_t n) {
  std::uint32_t sum = 0;
  for (std::uint32_t i = 1; i <= n; ++i) sum += i * i;
  return sum;
}

// n(n + 1)(2n + 1) / 6 modulo 2^32, formed without overflow for n below 2^20.
std::uint32_t closed_form_sum_of_squares(std::uint64_t n) {
  return static_cast<std::uint32_t>(n * (n + 1) * (2 * n + 1) / 6);
}

// How long the window thread takes to handle an event of the kind asked for.
class EventTimer : public QObject {
 public:
  EventTimer(QObject& watched, QEvent::Type type) : type_(type) { watched.installEventFilter(this); }

  void expect() { handled_ = false; }
  bool handled() const { return handled_; }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == type_) handled_ = true;
    return false;
  }

 private:
  QEvent::Type type_;
  std::atomic<bool> handled_{false};
};

// Posts the request from a thread of its own, as the window system would
// deliver it, and waits for the window thread to handle it; its latency.
milliseconds latency_of(EventTimer& timer, QObject& target, std::function<void()> request) {
  timer.expect();
  Clock::time_point posted = Clock::now();
  QMetaObject::invokeMethod(&target, std::move(request), Qt::QueuedConnection);
  while (!timer.handled() && Clock::now() - posted < std::chrono::seconds(5)) {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return std::chrono::duration_cast<milliseconds>(Clock::now() - posted);
}

TEST_F(BodyThreadTest, PaintAndResizeAreHandledWithinATenthOfASecondWhileTheBodyComputesForTwoSeconds) {
  constexpr std::uint32_t kTerms = 1u << 19;
  std::atomic<bool> computing{false};
  std::atomic<bool> computed{false};
  int passes = 0;
  bool every_pass_agreed = true;
  std::vector<milliseconds> paints;
  std::vector<milliseconds> resizes;
  std::thread user;
  start([&] {
    write_line(" BEFORE");
    on_window_thread([&] {
      auto* paint = new EventTimer(*state.io_widget->viewport(), QEvent::Paint);
      auto* resize = new EventTimer(*state.frame_window, QEvent::Resize);
      paint->setParent(state.frame_window);
      resize->setParent(state.frame_window);
      user = std::thread([&, paint, resize] {
        while (!computing) std::this_thread::yield();
        for (int i = 0; !computed; ++i) {
          QWidget* viewport = state.io_widget->viewport();
          paints.push_back(latency_of(*paint, *viewport, [viewport] { viewport->update(); }));
          FrameWindow* frame = state.frame_window;
          QSize size(700 + 10 * (i % 2), 500);
          resizes.push_back(latency_of(*resize, *frame, [frame, size] { frame->resize(size); }));
          std::this_thread::sleep_for(milliseconds(20));
        }
      });
    });
    computing = true;
    Clock::time_point begun = Clock::now();
    std::uint32_t sum = 0;
    long long reported = 0;
    while (Clock::now() - begun < std::chrono::seconds(2)) {
      sum = sum_of_squares(kTerms);
      every_pass_agreed = every_pass_agreed && sum == closed_form_sum_of_squares(kTerms);
      ++passes;
      // Reported about every 50 ms, as the comparison does.
      auto elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - begun).count();
      if (elapsed - reported >= 50) {
        reported = elapsed;
        report_computation(state, static_cast<int>(std::min<long long>(elapsed, 1999)), 2000);
      }
    }
    computed = true;
    user.join();
    report_computation(state, 2000, 2000);
    write_line(" SUM = " + std::to_string(sum));
    write_line(" AFTER");
  });
  EXPECT_TRUE(every_pass_agreed);
  EXPECT_GT(passes, 1);
  EXPECT_EQ(store_lines(), (std::vector<std::string>{" BEFORE",
                                                     " SUM = " + std::to_string(closed_form_sum_of_squares(kTerms)),
                                                     " AFTER"}));
  ASSERT_GE(paints.size(), 10u);
  ASSERT_GE(resizes.size(), 10u);
  for (milliseconds latency : paints) EXPECT_LT(latency.count(), 100);
  for (milliseconds latency : resizes) EXPECT_LT(latency.count(), 100);
  RecordProperty("paints", static_cast<int>(paints.size()));
  RecordProperty("slowest_paint_ms", static_cast<int>(std::max_element(paints.begin(), paints.end())->count()));
  RecordProperty("resizes", static_cast<int>(resizes.size()));
  RecordProperty("slowest_resize_ms", static_cast<int>(std::max_element(resizes.begin(), resizes.end())->count()));
}

// The status lines the frame shows, once its pending events are served
// (a new child widget shows itself then).
int shown_status_bars(const QWidget& frame) {
  QApplication::processEvents();
  int shown = 0;
  for (const QStatusBar* bar : frame.findChildren<QStatusBar*>()) shown += bar->isVisible() ? 1 : 0;
  return shown;
}

TEST_F(BodyThreadTest, TheFrameShowsTheProgressWithTheBusyCursorUntilTheComputationIsOver) {
  QString during;
  int bars_before = -1, bars_during = -1, bars_after = -1;
  bool busy_during = false;
  bool busy_after = true;
  start([&] {
    on_window_thread([&] { bars_before = shown_status_bars(*state.frame_window); });
    report_computation(state, 740, 1999);
    on_window_thread([&] {
      during = state.frame_window->statusBar()->currentMessage();
      bars_during = shown_status_bars(*state.frame_window);
      busy_during = QApplication::overrideCursor() != nullptr &&
                    QApplication::overrideCursor()->shape() == Qt::BusyCursor;
    });
    report_computation(state, 1999, 1999);
    on_window_thread([&] {
      bars_after = shown_status_bars(*state.frame_window);
      busy_after = QApplication::overrideCursor() != nullptr;
    });
  });
  EXPECT_EQ(during, QStringLiteral("Comparing: 37% (740 of the 1999 levels of dendrogram 2 below its top)"));
  EXPECT_TRUE(busy_during);
  EXPECT_EQ(bars_during, 1);
  // The frame looks as it did before the computation: no empty strip stays.
  EXPECT_EQ(bars_before, 0);
  EXPECT_EQ(bars_after, 0);
  EXPECT_FALSE(busy_after);
}

// A computation of 500 reports, 2 ms apart; what the body saw.
struct ComputationSeen {
  std::atomic<int> reports{0};
  bool stopped = false;
};

ProgramBody computing_body(ConsoleState& state, ComputationSeen& seen, std::vector<std::string>& log) {
  return [&state, &seen, &log] {
    write_line(" COMPARING");
    constexpr int kTotal = 500;
    for (int done = 0; done <= kTotal; ++done) {
      ++seen.reports;
      if (!report_computation(state, done, kTotal)) {
        seen.stopped = true;
        log.push_back("stopped");
        return;  // the real body ends through the shutdown here
      }
      std::this_thread::sleep_for(milliseconds(2));
    }
    write_line(" RESULTS");
  };
}

TEST_F(BodyThreadTest, ACloseDuringTheComputationAsksThenStopsItBeforeItsResults) {
  ComputationSeen seen;
  modal.answers = {QMessageBox::No};
  when([this] { return state.computing; }, [this] { state.frame_window->close(); });
  start(computing_body(state, seen, log));
  EXPECT_TRUE(seen.stopped);
  EXPECT_LT(seen.reports, 500);
  EXPECT_EQ(log, (std::vector<std::string>{"prompt", "stopped", "finish"}));
  EXPECT_EQ(store_lines(), std::vector<std::string>{" COMPARING"});
  EXPECT_EQ(state.closing, 1);
}

TEST_F(BodyThreadTest, CancelAtThePromptLetsTheComputationRunToItsResults) {
  ComputationSeen seen;
  modal.answers = {QMessageBox::Cancel};
  when([this] { return state.computing; }, [this] { state.frame_window->close(); });
  start(computing_body(state, seen, log));
  EXPECT_FALSE(seen.stopped);
  EXPECT_EQ(log, (std::vector<std::string>{"prompt", "finish"}));
  EXPECT_EQ(store_lines(), (std::vector<std::string>{" COMPARING", " RESULTS"}));
  EXPECT_EQ(state.closing, 0);
}

// The save prompt of a close while the body computes, kept up for a while
// as a user would, serving the windows meanwhile as a modal box does.
struct HeldPrompt {
  QMessageBox::StandardButton answer;
  bool stopped;
  std::vector<std::string> lines;
  int closing;
};

class HeldPromptTest : public BodyThreadTest, public ::testing::WithParamInterface<HeldPrompt> {};

TEST_P(HeldPromptTest, TheComputationWaitsWhileThePromptIsUpAndTheAnswerDecides) {
  constexpr auto kUp = milliseconds(600);  // the computation alone takes 1 s or more
  ComputationSeen seen;
  int reports_during_prompt = -1;
  modal.answers = {GetParam().answer};
  start_with_prompt([&](QMessageBox& box) {
    const int before = seen.reports;
    Clock::time_point shown = Clock::now();
    while (Clock::now() - shown < kUp) QApplication::processEvents(QEventLoop::AllEvents, 10);
    reports_during_prompt = seen.reports - before;
    return answer(box);
  }, [this] { return state.computing; }, computing_body(state, seen, log));
  // The one report under way as the prompt came up may still arrive.
  EXPECT_LE(reports_during_prompt, 1);
  EXPECT_EQ(seen.stopped, GetParam().stopped);
  EXPECT_EQ(seen.reports == 501, !GetParam().stopped);
  EXPECT_EQ(store_lines(), GetParam().lines);
  EXPECT_EQ(state.closing, GetParam().closing);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, HeldPromptTest,
    ::testing::Values(HeldPrompt{QMessageBox::No, true, {" COMPARING"}, 1},
                      // Without a file name to save to the window closes as after No.
                      HeldPrompt{QMessageBox::Yes, true, {" COMPARING"}, 1},
                      HeldPrompt{QMessageBox::Cancel, false, {" COMPARING", " RESULTS"}, 0}));

TEST_F(BodyThreadTest, LinesWrittenOnTheBodysThreadArriveWholeAndInOrder) {
  std::vector<std::string> written;
  for (int i = 0; i < 300; ++i) written.push_back(" LINE " + std::to_string(i) + std::string(static_cast<std::size_t>(i % 7), '*'));
  start([&] {
    for (const std::string& line : written) write_line(line);
  });
  EXPECT_EQ(store_lines(), written);
}

// The services a program may call make their windows, menu items and
// timers on the window thread, where they live, and those call back there.
TEST_F(BodyThreadTest, ServicesCalledFromTheBodyWorkOnTheWindowThread) {
  QThread* window_thread = test::qt_application().thread();
  int appended = 0;
  int opened = 0;
  int started = 0;
  std::atomic<bool> timer_fired_on_window_thread{false};
  std::atomic<bool> timer_fired{false};
  start([&] {
    std::string label = "Extra";
    appended = append_menu_item(state, 1, 0, label.data(), [](std::int32_t&) {}, static_cast<int>(label.size()));
    int width = 0;
    int height = 0;
    int mode = 1;
    opened = open_graphics_window(state, width, height, "", mode, nullptr, 0);
    started = start_timer(state, 7, 1, [&] {
      timer_fired_on_window_thread = QThread::currentThread() == window_thread;
      timer_fired = true;
    });
    while (!timer_fired) std::this_thread::sleep_for(milliseconds(1));
    stop_timer(state, 7);
  });
  EXPECT_EQ(appended, 1);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(started, 1);
  EXPECT_TRUE(timer_fired_on_window_thread);
  ASSERT_NE(state.graphics_window, nullptr);
  EXPECT_EQ(state.graphics_window->thread(), window_thread);
  QAction* item = state.frame_window->command_action(kFirstProgramCommand);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->thread(), window_thread);
}

}  // namespace
}  // namespace console::qt
