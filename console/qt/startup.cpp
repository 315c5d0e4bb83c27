#include "console/qt/startup.h"

#include <QApplication>
#include <algorithm>
#include <new>
#include <optional>

#include "console/qt/body_thread.h"
#include "console/qt/io_widget.h"
#include "console/qt/window_hooks.h"
#include "rio/rio.h"

namespace console::qt {

namespace {

constexpr int kNothingMade = 0;
constexpr int kNoWindow = 6;

std::string module_file_name(const StartupSettings& settings) {
  if (!settings.module_file_name.empty()) return settings.module_file_name;
  return QCoreApplication::applicationFilePath().toLocal8Bit().toStdString();
}

void show_frame(FrameWindow& frame, int show_mode) {
  switch (show_mode) {
    case kShowMaximized: frame.showMaximized(); break;
    case kShowMinimized:
    case kShowMinimizedNoActive:
    case kShowMinimizedInactive: frame.showMinimized(); break;
    default: frame.show(); break;
  }
  frame.update();
}

bool make_text_store(ConsoleState& state) {
  try {
    state.text_store = std::make_unique<TextStore>();
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

FrameWindow* make_frame(ConsoleState& state, FrameHooks hooks) {
  try {
    return new FrameWindow(state, nullptr, std::move(hooks));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// The text store, the frame and the Input/Output window, and the services
// for them; the start-up's result when one of them cannot be made.
std::optional<int> make_windows(QApplication* instance, const void* previous_instance, int show_mode,
                                ConsoleState& state, StartupSettings& settings) {
  std::string caption = bare_file_name(module_file_name(settings));
  if (!make_text_store(state)) return kNothingMade;
  if (instance == nullptr || previous_instance != nullptr) return kNothingMade;
  state.instance = instance;
  // Closing the frame is this environment's decision, not Qt's.
  instance->setQuitOnLastWindowClosed(false);
  FrameWindow* frame = make_frame(state, std::move(settings.frame_hooks));
  if (frame == nullptr) return kNoWindow;
  frame->setWindowTitle(QString::fromLocal8Bit(caption));
  show_frame(*frame, show_mode);
  IoWidget* io = frame->open_io_window();
  if (io == nullptr) return kNoWindow;
  if (settings.make_services) {
    state.frame_services = settings.make_services(io->window(), state.text_unchanged);
    frame->set_services(state.frame_services.get());
  }
  return std::nullopt;
}

}  // namespace

std::string bare_file_name(std::string_view path) {
  std::size_t separator = path.find_last_of("/\\");
  return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string_view command_tail_of(std::string_view command_line) {
  std::size_t end = 0;
  if (command_line.starts_with('"')) {
    std::size_t quote = command_line.find('"', 1);
    end = quote == std::string_view::npos ? command_line.size() : quote + 1;
  } else {
    end = std::min(command_line.find_first_of(" \t"), command_line.size());
  }
  std::string_view rest = command_line.substr(end);
  std::size_t tail = rest.find_first_not_of(" \t");
  return tail == std::string_view::npos ? std::string_view{} : rest.substr(tail);
}

int console_startup(QApplication* instance, const void* previous_instance, std::string_view, int show_mode,
                    ConsoleState& state, StartupSettings settings) {
  install_window_hooks(state);
  state.next_menu_command = kFirstProgramCommand;
  state.graphics_window = nullptr;
  std::function<void()> finish_program = settings.frame_hooks.finish_program;
  if (!finish_program) finish_program = [] { rio::io_finish(); };
  std::function<void(int)> end_process = settings.frame_hooks.end_process;
  // A close while the body runs asks the body's thread to end the program:
  // the shutdown must not run beside the body.
  settings.frame_hooks.finish_program = [&state] {
    if (state.body_thread != nullptr) state.body_thread->request_finish();
  };
  if (std::optional<int> failure = make_windows(instance, previous_instance, show_mode, state, settings)) {
    return *failure;
  }
  state.pacing = PacingValues{};
  state.timer_slots = {};
  // The body ends the process itself; one that returns is ended by the
  // shutdown, on its own thread.
  BodyThread body(state, std::move(settings.program_body), std::move(finish_program), std::move(end_process));
  state.body_thread = &body;
  body.run();
  state.body_thread = nullptr;
  return 0;
}

}  // namespace console::qt
