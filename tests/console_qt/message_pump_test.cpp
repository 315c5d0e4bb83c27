// The message loop that a read runs for the body's thread is run from the
// handler of a posted event: it still serves the events posted right
// behind that one, which the event dispatcher alone leaves waiting until
// some later event wakes it (a test's steps queued there waited for ever).
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "console/qt/console_state.h"
#include "console/qt/message_pump.h"
#include "console_qt/support/qt_application.h"

namespace console::qt {
namespace {

TEST(MessagePumpTest, ALoopRunFromAPostedEventServesTheEventsQueuedBehindIt) {
  QApplication& application = test::qt_application();
  QApplication::processEvents();  // nothing of earlier tests left waiting
  ConsoleState state;
  bool behind_served = false;
  bool woken_by_the_watchdog = false;
  // A later event, which would wake the dispatcher after all.
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, &application, [&] {
    woken_by_the_watchdog = true;
    QMetaObject::invokeMethod(&application, [] {}, Qt::QueuedConnection);
  });
  watchdog.start(2000);
  QMetaObject::invokeMethod(
      &application, [&] { run_message_loop(state, [&] { return behind_served; }); }, Qt::QueuedConnection);
  QMetaObject::invokeMethod(&application, [&] { behind_served = true; }, Qt::QueuedConnection);
  QApplication::processEvents();
  EXPECT_TRUE(behind_served);
  EXPECT_FALSE(woken_by_the_watchdog);
}

}  // namespace
}  // namespace console::qt
