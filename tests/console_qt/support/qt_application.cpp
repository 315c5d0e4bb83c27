#include "console_qt/support/qt_application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>

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

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { qt_application(); }
};

[[maybe_unused]] const auto* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

}  // namespace console::qt::test
