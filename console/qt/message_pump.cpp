#include "console/qt/message_pump.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace console::qt {

void run_message_loop(const ConsoleState& state, const std::function<bool()>& done) {
  if (QCoreApplication::instance() == nullptr) return;
  while (!state.quit_received && !(done && done())) {
    // Run from the handler of a posted event (a read handed over by the
    // body's thread), this loop would not be woken for the events posted
    // before that one and queued behind it: the event dispatcher counts
    // them as seen. They are delivered here, before each wait.
    QCoreApplication::sendPostedEvents();
    if (state.quit_received || (done && done())) break;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

void pump_pending_messages() {
  if (QCoreApplication::instance() == nullptr) return;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace console::qt
