#pragma once
// Interval timers that call program routines through the frame's timer
// dispatch, and the one-shot pacing timer.
#include <functional>

#include "console/qt/console_state.h"

class QMessageBox;

namespace console::qt {

// Starts a timer with the program's id: each expiry goes to the frame's
// dispatch, which calls the handler of the first slot with that id. 1 if
// started, 0 with no frame, no free slot of the 100, or an interval the
// timer cannot take.
int start_timer(ConsoleState& state, int timer_id, int interval_ms, TimerHandler handler);
// Stops the timer and frees the first slot holding the id; an id in no
// slot changes nothing.
void stop_timer(ConsoleState& state, int timer_id);

// What pace does when no timer can be had, replaceable by tests: the
// question's box is run by run_message_box, and No ends the program by
// finish_program (the runtime's shutdown when unset).
struct PaceHooks {
  std::function<int(QMessageBox&)> run_message_box;
  std::function<void()> finish_program;
};

// Drains pending messages, then starts the pacing timer: timer_fired is 0
// on return and becomes 1 when the pacing delay has passed.
void pace(ConsoleState& state, PaceHooks hooks = {});

}  // namespace console::qt
