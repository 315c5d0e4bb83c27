#pragma once
// The window side of the four console hooks: console output becomes lines
// of the Input/Output window, console input waits for the user's Enter, the
// end of the program keeps the window open until the frame closes, and the
// runtime's idle calls keep the windows served.
#include "console/qt/console_state.h"

namespace console::qt {

// Fills buffer with the line ended by the next Enter and CR LF; returns the
// bytes placed.
int read_hook(ConsoleState& state, char* buffer, int capacity);
// One call, one line. Returns the count it was given: writing never fails.
int write_hook(ConsoleState& state, const char* bytes, const int* count, int handle);
// The program is over; serves the windows until the frame is gone. Without
// a frame, as after a failed start-up, there is nothing to wait for.
void exit_hook(ConsoleState& state, int code);
void idle_hook(ConsoleState& state);

// Installs the four in the runtime, bound to the state.
void install_window_hooks(ConsoleState& state);

}  // namespace console::qt
