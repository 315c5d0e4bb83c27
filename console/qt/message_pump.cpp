#include "console/qt/message_pump.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace console::qt {

void run_message_loop(const ConsoleState& state, const std::function<bool()>& done) {
  if (QCoreApplication::instance() == nullptr) return;
  while (!state.quit_received && !(done && done())) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

void pump_pending_messages() {
  if (QCoreApplication::instance() == nullptr) return;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace console::qt
