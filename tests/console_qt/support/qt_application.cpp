#include "console_qt/support/qt_application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QTimer>

namespace console::qt::test {

QApplication& qt_application() {
  static int argc = 1;
  static char name[] = "console_qt_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *application;
}

void when(std::function<bool()> ready, std::function<void()> action, std::function<void()> give_up, int attempts) {
  QTimer::singleShot(0, &qt_application(), [ready, action, give_up, attempts] {
    if (ready()) {
      action();
    } else if (give_up && attempts <= 0) {
      give_up();
    } else {
      when(ready, action, give_up, attempts - 1);
    }
  });
}

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { qt_application(); }
};

[[maybe_unused]] const auto* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

}  // namespace console::qt::test
