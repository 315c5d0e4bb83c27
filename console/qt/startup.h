#pragma once
// The window start-up: the hooks, the text store, the frame with its menus,
// the Input/Output window, and then the program body, which runs inside it.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "console/io_window.h"
#include "console/qt/console_state.h"
#include "console/qt/frame_services.h"
#include "console/qt/frame_window.h"

class QApplication;

namespace console::qt {

using ProgramBody = std::function<void()>;
// Makes Save, Print and the edit commands for the Input/Output window and
// the flag a complete save sets.
using ServicesFactory = std::function<std::unique_ptr<FrameServices>(console::IoWindow& window, int& text_unchanged)>;

// The show modes the frame knows; any other is shown as the default.
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;
inline constexpr int kShowMinimizedNoActive = 6;
inline constexpr int kShowMinimizedInactive = 7;
inline constexpr int kShowDefault = 10;

struct StartupSettings {
  ProgramBody program_body;     // must be set
  ServicesFactory make_services;  // unset: the frame has none
  FrameHooks frame_hooks;
  // The executable's path, whose bare name is the caption; empty: the
  // running executable's own.
  std::string module_file_name;
};

// Returns only when start-up fails: 0 without an application, with a
// previous instance, or without room for the text store; 6 when the frame
// or the Input/Output window cannot be made. Otherwise the program body
// runs on a thread of its own while this thread serves the windows, and
// ends through the runtime, whose exit hook waits for the frame to close;
// then this thread ends the process (frame_hooks.end_process), where Qt's
// objects live. A body that returns is ended the same way, through
// frame_hooks.finish_program on the body's thread, and then 0 is returned.
// A close while the body runs calls frame_hooks.finish_program on the
// body's thread too, at its next console statement or progress report
// (report_computation); from the save prompt to the close's end the body
// waits there.
int console_startup(QApplication* instance, const void* previous_instance, std::string_view command_tail,
                    int show_mode, ConsoleState& state, StartupSettings settings);

// The part after the last slash or backslash, or the whole name.
std::string bare_file_name(std::string_view path);

// The command line without the program name (quoted, to the next quote; or
// to the first blank or tab) and the blanks and tabs after it.
std::string_view command_tail_of(std::string_view command_line);

}  // namespace console::qt
