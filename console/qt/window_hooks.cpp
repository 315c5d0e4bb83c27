#include "console/qt/window_hooks.h"

#include <cstdio>

#include "console/console_hooks.h"
#include "console/io_line_editor.h"
#include "console/qt/body_thread.h"
#include "console/qt/computation_progress.h"
#include "console/qt/io_widget.h"
#include "console/qt/message_pump.h"
#include "rio/rio.h"

namespace console::qt {

namespace {

// Before the Input/Output window exists, or if it could not be made, the
// program's lines still go somewhere a user can see them.
void write_to_standard_stream(std::string_view line, int handle) {
  std::FILE* stream = handle == rio::kErrorOutputHandle ? stderr : stdout;
  std::fwrite(line.data(), 1, line.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

int read_on_window_thread(ConsoleState& state, char* buffer, int capacity) {
  if (state.io_widget == nullptr) {
    // No window to type into: an empty answer, as Enter alone would give.
    TextStore empty;
    return deliver_input_line(empty, buffer, capacity);
  }
  console::IoWindow& window = state.io_widget->window();
  window.view.waiting_for_input = true;
  run_message_loop(state, [&window] { return !window.view.waiting_for_input; });
  window.view.waiting_for_input = false;
  return deliver_input_line(window.store, buffer, capacity);
}

void show_line(ConsoleState& state, std::string_view line, int handle) {
  if (state.io_widget == nullptr) {
    write_to_standard_stream(line, handle);
  } else {
    show_output_line(state.io_widget->window(), line);
  }
}

}  // namespace

int read_hook(ConsoleState& state, char* buffer, int capacity) {
  BodyThread* body = body_thread_calling(state);
  if (body == nullptr) return read_on_window_thread(state, buffer, capacity);
  // A close between the statements before this read ends the program here.
  body->finish_if_requested();
  int count = 0;
  body->run_on_window_thread([&] {
    end_computation_display(state);
    count = read_on_window_thread(state, buffer, capacity);
  });
  body->finish_if_requested();
  return count;
}

int write_hook(ConsoleState& state, const char* bytes, const int* count, int handle) {
  int given = count != nullptr ? *count : 0;
  std::string_view line = output_line_of(bytes, given);
  BodyThread* body = body_thread_calling(state);
  if (body == nullptr) {
    show_line(state, line, handle);
    pump_pending_messages();
  } else {
    // The window thread serves its own events meanwhile.
    body->run_on_window_thread([&] { show_line(state, line, handle); });
  }
  return given;
}

void exit_hook(ConsoleState& state, int code) {
  BodyThread* body = body_thread_calling(state);
  if (body == nullptr) {
    state.program_finished = 1;
    end_computation_display(state);
    if (state.frame_window == nullptr) return;
    run_message_loop(state);
    return;
  }
  body->run_on_window_thread([&state] {
    state.program_finished = 1;
    end_computation_display(state);
  });
  body->wait_at_exit(code);
}

void idle_hook(ConsoleState& state) {
  BodyThread* body = body_thread_calling(state);
  if (body == nullptr) {
    pump_pending_messages();
  } else {
    body->finish_if_requested();
  }
}

void install_window_hooks(ConsoleState& state) {
  rio::ConsoleHooks hooks;
  hooks.read = [&state](char* buffer, int max) { return read_hook(state, buffer, max); };
  hooks.write = [&state](const char* bytes, int* count, int handle) { return write_hook(state, bytes, count, handle); };
  hooks.exit = [&state](int code) { exit_hook(state, code); };
  hooks.idle = [&state] { idle_hook(state); };
  rio::install_console_hooks(std::move(hooks));
}

}  // namespace console::qt
