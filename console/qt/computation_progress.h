#pragma once
// The progress of the program body's computation as the frame shows it: a
// status line with the share of levels done, and the busy cursor while it
// lasts.
#include <QString>

#include "console/qt/console_state.h"

namespace console::qt {

// "Comparing: 37% (level 740 of 1999)"; the share is rounded down.
QString computation_progress_text(int done, int total);

// Window thread: shows the progress; the computation is over once done
// reaches total.
void show_computation_progress(ConsoleState& state, int done, int total);
// Window thread: the computation is over, whether complete or not.
void end_computation_display(ConsoleState& state);

// The body's report of its progress, from whichever thread it runs on:
// false once the user has closed the frame, so the computation stops.
bool report_computation(ConsoleState& state, int done, int total);

}  // namespace console::qt
