// The pictures after a real run, lived in a child process: the comparison
// runs in the window from its prompts to its results, the Plots menu comes
// only then, and its item opens the graphics window, whose paint draws the
// heat map.
#include <gtest/gtest.h>

#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "compare/program.h"
#include "console/plots/colour_map.h"
#include "console/qt/io_widget.h"
#include "console/qt/plots_menu.h"
#include "console/qt/startup.h"
#include "console_qt/support/qt_application.h"

namespace console::qt {
namespace {

// Ends of the child that tell what went wrong.
constexpr int kStrayEnd = 3;
constexpr int kMenuTooEarly = 4;
constexpr int kNoPicture = 5;
constexpr int kAdjustedRandItem = 804;

void when(std::function<bool()> ready, std::function<void()> action) {
  test::when(std::move(ready), std::move(action), [] { std::_Exit(kStrayEnd); });
}

bool has_plots_menu(const ConsoleState& state) {
  for (QAction* entry : state.main_menu->actions()) {
    if (entry->text() == "&Plots") return true;
  }
  return false;
}

// Types each answer, with Enter, when the program waits for it; before
// each the menu must not be there yet.
void answer_when_asked(ConsoleState& state, std::vector<std::string> answers) {
  if (answers.empty()) return;
  auto waiting = [&state] { return state.io_widget->window().view.waiting_for_input; };
  when(waiting, [&state, answers] {
    if (has_plots_menu(state)) std::_Exit(kMenuTooEarly);
    QTest::keyClicks(state.io_widget, QString::fromStdString(answers.front()));
    QTest::keyClick(state.io_widget, Qt::Key_Return);
    answer_when_asked(state, std::vector<std::string>(answers.begin() + 1, answers.end()));
  });
}

bool paints_both_ends_of_the_colour_map(QWidget& contents) {
  QImage painted = contents.grab().toImage();
  bool lowest = false, highest = false;
  for (int y = 0; y < painted.height(); ++y) {
    for (int x = 0; x < painted.width(); ++x) {
      lowest |= painted.pixel(x, y) == plots::viridis_step(0);
      highest |= painted.pixel(x, y) == plots::viridis_step(plots::kColourSteps - 1);
    }
  }
  return lowest && highest;
}

TEST(PlotsAfterRunTest, TheMenuComesWithTheResultsAndItsItemPaintsTheHeatMap) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::filesystem::path examples = std::filesystem::path(DENDRO_SOURCE_DIR) / "examples";
  std::string pattern = (std::filesystem::temp_directory_path() / "console_qt_XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const std::filesystem::path scratch = pattern;
  auto body = [&examples, &scratch](ConsoleState& state) {
    std::filesystem::current_path(scratch);
    compare::set_results_observer(plots_results_observer(state));
    answer_when_asked(state, {(examples / "five1.den").string(), (examples / "five2.den").string()});
    when([&state] { return state.program_finished == 1 && has_plots_menu(state); },
         [&state, &scratch] {
           state.frame_window->dispatch_command(kAdjustedRandItem);
           auto* child = qobject_cast<QMdiSubWindow*>(state.graphics_window);
           if (child == nullptr || child->windowTitle() != "1 - ADJUSTED RAND" ||
               !paints_both_ends_of_the_colour_map(*child->widget())) {
             std::_Exit(kNoPicture);
           }
           std::filesystem::remove_all(scratch);
           state.frame_window->close();
         });
    compare::compare_dendrograms();
  };
  EXPECT_EXIT(
      {
        static ConsoleState state;
        StartupSettings settings;
        settings.program_body = [&body] { body(state); };
        settings.frame_hooks.run_message_box = [](QMessageBox&) { return static_cast<int>(QMessageBox::No); };
        console_startup(&test::qt_application(), nullptr, "", kShowDefault, state, std::move(settings));
        std::_Exit(kStrayEnd);
      },
      ::testing::ExitedWithCode(0), "");
  std::filesystem::remove_all(scratch);
}

}  // namespace
}  // namespace console::qt
