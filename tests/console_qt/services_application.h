#pragma once
// The GUI application the services' tests need for the clipboard, fonts and
// printers: the suite's own if one is running, else one made here on the
// offscreen platform, so that no display is needed.
#include <QApplication>
#include <QByteArray>
#include <QtGlobal>

namespace console::qt::test {

inline QApplication& services_application() {
  if (auto* running = qobject_cast<QApplication*>(QCoreApplication::instance())) return *running;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
  static int argc = 1;
  static char name[] = "services_tests";
  static char* argv[] = {name, nullptr};
  // Kept to the end of the process: tearing it down among the other
  // static objects at exit is not safe.
  static auto* application = new QApplication(argc, argv);
  return *application;
}

}  // namespace console::qt::test
