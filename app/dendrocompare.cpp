// The comparison as a desktop program: its console is the Input/Output
// window of the frame, and it runs on a thread of its own while the window
// thread serves the frame. The process ends inside the runtime: 0 after a
// normal end or a close during the run, -1 after a fatal report, 0 or 6
// when the windows could not be made.
#include <QApplication>
#include <cfenv>
#include <string>

#include "compare/program.h"
#include "console/qt/computation_progress.h"
#include "console/qt/console_state.h"
#include "console/qt/plots_menu.h"
#include "console/qt/standard_frame_services.h"
#include "console/qt/startup.h"
#include "rio/hooks.h"
#include "rio/platform.h"

namespace {

// The command line as one text, the program name quoted when it holds a
// blank or a tab, so that it can be taken apart the way it was put together.
std::string command_line_of(int argc, char** argv) {
  std::string line;
  for (int i = 0; i < argc; ++i) {
    std::string argument = argv[i];
    if (i == 0 && argument.find_first_of(" \t") != std::string::npos) argument = '"' + argument + '"';
    if (i > 0) line += ' ';
    line += argument;
  }
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  // The default environment: round to nearest, every exception masked, so
  // that a division by zero gives an infinity and nothing stops.
  std::fesetenv(FE_DFL_ENV);
  std::string tail(console::qt::command_tail_of(command_line_of(argc, argv)));
  QApplication application(argc, argv);

  console::qt::StartupSettings settings;
  settings.program_body = [] { compare::compare_dendrograms(); };
  // The frame shows how far the comparison has come, and a close of the
  // frame stops it.
  compare::set_computation_observer([](int done_columns, int total_columns) {
    return console::qt::report_computation(console::qt::console_state(), done_columns, total_columns);
  });
  // Once the report is written, the Plots menu shows the tables as pictures.
  compare::set_results_observer(console::qt::plots_results_observer(console::qt::console_state()));
  settings.make_services = console::qt::make_standard_frame_services;
  int result = console::qt::console_startup(&application, nullptr, tail, console::qt::kShowDefault,
                                            console::qt::console_state(), std::move(settings));
  // Start-up failed. The exit hook still runs: with a frame on the screen,
  // it stays until the user closes it.
  rio::call_exit_hook(result);
  rio::platform::exit_process(result);
}
