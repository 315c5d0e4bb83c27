#pragma once
// The two ways the environment serves window events from inside the program
// body: waiting until something happens, and draining what is pending.
// Shortcuts (the menu accelerators) are part of ordinary event delivery.
#include <functional>

#include "console/qt/console_state.h"

namespace console::qt {

// Serves events, waiting for them, until the frame is gone or, when done is
// given, until done() holds after an event has been handled. Events posted
// before the call are served too, also when it is made from the handler of
// a posted event.
void run_message_loop(const ConsoleState& state, const std::function<bool()>& done = {});

// Serves every pending event and returns; never waits.
void pump_pending_messages();

}  // namespace console::qt
