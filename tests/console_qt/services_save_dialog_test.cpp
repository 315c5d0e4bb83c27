// The Save As dialog answered by the test as a user would: a typed name
// without a suffix, and Cancel.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <string>

#include "console/qt/save_dialog.h"
#include "console_qt/services_application.h"

namespace console::qt {
namespace {

// Acts on the file dialog once it is shown and waiting.
void when_dialog_opens(std::function<void(QFileDialog&)> answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      ADD_FAILURE() << "no file dialog is open";
      return;
    }
    answer(*dialog);
  });
}

class ServicesSaveDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::services_application();
    ASSERT_TRUE(directory.isValid());
  }

  QTemporaryDir directory;
};

TEST_F(ServicesSaveDialogTest, ANameTypedWithoutSuffixGetsTxtAndTheTitleIsTheBareName) {
  QString typed = directory.filePath(QStringLiteral("RUN1"));
  std::string filters;
  when_dialog_opens([&](QFileDialog& dialog) {
    filters = dialog.nameFilters().join(QLatin1Char('|')).toStdString() + " / " +
              dialog.selectedNameFilter().toStdString();
    dialog.selectFile(typed);
    static_cast<QDialog&>(dialog).accept();  // the OK button
  });
  std::string file_name;
  std::string file_title;
  ASSERT_TRUE(choose_save_file(file_name, file_title));
  EXPECT_EQ(file_name, (typed + QStringLiteral(".txt")).toStdString());
  EXPECT_EQ(file_title, "RUN1.txt");
  EXPECT_EQ(filters, "Text Files (*.txt)|All Files (*.*) / Text Files (*.txt)");
}

TEST_F(ServicesSaveDialogTest, ChoosingAnExistingFileAsksBeforeOverwritingIt) {
  QString existing = directory.filePath(QStringLiteral("OUT.txt"));
  QFile file(existing);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  bool asked = false;
  when_dialog_opens([&](QFileDialog& dialog) {
    dialog.selectFile(existing);
    QTimer::singleShot(0, [&asked] {
      if (auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        asked = true;
        question->button(QMessageBox::Yes)->click();
      }
    });
    static_cast<QDialog&>(dialog).accept();  // the OK button
  });
  std::string file_name;
  std::string file_title;
  ASSERT_TRUE(choose_save_file(file_name, file_title));
  EXPECT_TRUE(asked);
  EXPECT_EQ(file_title, "OUT.txt");
}

TEST_F(ServicesSaveDialogTest, TheLastNameIsOfferedAndCancelKeepsBothNames) {
  std::string file_name = directory.filePath(QStringLiteral("OLD.TXT")).toStdString();
  std::string file_title = "OLD.TXT";
  std::string offered;
  when_dialog_opens([&](QFileDialog& dialog) {
    offered = dialog.selectedFiles().value(0).toStdString();
    dialog.reject();
  });
  EXPECT_FALSE(choose_save_file(file_name, file_title));
  EXPECT_EQ(offered, file_name);
  EXPECT_EQ(file_title, "OLD.TXT");
}

}  // namespace
}  // namespace console::qt
