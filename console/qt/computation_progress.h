#pragma once
// The progress of a long computation as the frame shows it: a status line
// with the share of levels done, and the busy cursor while it lasts. The
// status line is there only meanwhile.
#include <QString>

#include "console/qt/console_state.h"

namespace console::qt {

// What a computation tells while it runs: what it does, and the dendrogram
// whose levels it counts (all but the top one, which is never compared).
struct ComputationLabel {
  const char* activity = "Comparing";
  int dendrogram = 2;
};

// "Comparing: 37% (740 of the 1999 levels of dendrogram 2 below its top)";
// the share is rounded down.
QString computation_progress_text(int done, int total, ComputationLabel label = {});

// Window thread: shows the progress; the computation is over once done
// reaches total.
void show_computation_progress(ConsoleState& state, int done, int total, ComputationLabel label = {});
// Window thread: the computation is over, whether complete or not; the
// status line goes with it.
void end_computation_display(ConsoleState& state);

// The body's report of its progress, from whichever thread it runs on:
// false once the user has closed the frame, so the computation stops. While
// the close's save prompt is up, a report from the body's thread waits for
// the answer.
bool report_computation(ConsoleState& state, int done, int total);

}  // namespace console::qt
