#include "console_qt/support/qt_application.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QByteArray>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace console::qt::test {

namespace {

// What the offscreen platform says of features it lacks, whatever the
// program does: not a fault of the code under test.
bool offscreen_platform_limitation(const QString& message) {
  return message == QLatin1String("This plugin does not support propagateSizeHints()");
}

void fail_on_warning(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (offscreen_platform_limitation(message)) return;
  const std::string text = message.toStdString();
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  // A child's failures never reach its parent; its exit status does. So
  // does the exit status of a process past its last test.
  if (::testing::internal::InDeathTestChild() || ::testing::UnitTest::GetInstance()->current_test_info() == nullptr) {
    std::_Exit(kQtWarningExit);
  }
  ADD_FAILURE() << "Qt warned: " << text;
}

// Qt wants a private runtime directory and warns when the session has none,
// as under CI; the suite brings its own, the same for its child processes.
void provide_runtime_directory() {
  if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) return;
  std::string path = (std::filesystem::temp_directory_path() / ("console_qt_runtime_" + std::to_string(getuid()))).string();
  std::filesystem::create_directories(path);
  std::filesystem::permissions(path, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
  qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(path));
}

}  // namespace

QApplication& qt_application() {
  static int argc = 1;
  static char name[] = "console_qt_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    qInstallMessageHandler(fail_on_warning);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    provide_runtime_directory();
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
