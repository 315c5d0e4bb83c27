// The printer as the print job's device, printing to a PDF file: the pages
// that come out for a given number of lines.
#include <gtest/gtest.h>

#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "console/print_job.h"
#include "console/qt/printing.h"
#include "console/text_store.h"
#include "console_qt/services_application.h"

namespace console::qt {
namespace {

// The print dialog answered with all pages and one copy, the printer a PDF
// file, and no windows.
class PdfSession : public console::PrintSession {
 public:
  explicit PdfSession(const QString& path) {
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setOutputFileName(path);
  }
  std::optional<console::PrintChoice> choose_printer() override {
    device_.emplace(printer_);
    return choice;
  }
  console::PrintDevice& device() override { return *device_; }
  void release_device() override { device_.reset(); }
  void show_printing_dialog() override {}
  void destroy_printing_dialog() override {}
  void set_owner_enabled(bool) override {}
  void serve_pending_events() override {}

  console::PageLayout layout() {
    QtPrintDevice probe(printer_);
    return console::page_layout(probe.line_height(), probe.printable_height());
  }

  console::PrintChoice choice;

 private:
  QPrinter printer_{QPrinter::HighResolution};
  std::optional<QtPrintDevice> device_;
};

int pages_in(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  QString content = QString::fromLatin1(file.readAll());
  return static_cast<int>(content.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

class ServicesPrintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::services_application();
    ASSERT_TRUE(directory.isValid());
  }

  void add_lines(int count) {
    for (int k = 1; k <= count; ++k) {
      store.start_new_line();
      store.store_new_line_text("line " + std::to_string(k));
    }
  }

  QTemporaryDir directory;
  QString path = directory.filePath(QStringLiteral("job.pdf"));
  console::TextStore store;
};

TEST_F(ServicesPrintingTest, TheDefaultFontFitsSeveralLinesOnAPage) {
  PdfSession session(path);
  console::PageLayout layout = session.layout();
  EXPECT_GT(layout.line_height, 1);
  EXPECT_GT(layout.lines_per_page, 10);
}

TEST_F(ServicesPrintingTest, TwoFullPagesAndTenLinesComeOutAsThreePages) {
  PdfSession session(path);
  add_lines(2 * session.layout().lines_per_page + 10);
  EXPECT_EQ(console::print_store(store, session), console::PrintOutcome::finished);
  EXPECT_EQ(pages_in(path), 3);
}

TEST_F(ServicesPrintingTest, TwoCopiesOfOnePageComeOutAsTwoPages) {
  PdfSession session(path);
  session.choice.copies = 2;
  add_lines(10);
  console::print_store(store, session);
  EXPECT_EQ(pages_in(path), 2);
}

struct DialogCommandCase {
  const char* name;
  std::function<void(QDialog&)> command;
};

class PrintingDialogTest : public ::testing::TestWithParam<DialogCommandCase> {
 protected:
  void SetUp() override { test::services_application(); }
};

TEST_P(PrintingDialogTest, AnyCommandOfThePrintingDialogStopsTheJob) {
  int print_continue = 1;
  std::unique_ptr<QDialog> dialog = make_printing_dialog(print_continue);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("TOLM"));
  ASSERT_NE(dialog->findChild<QLabel*>(), nullptr);
  EXPECT_EQ(dialog->findChild<QLabel*>()->text(), QStringLiteral("Printing..."));
  dialog->show();
  EXPECT_EQ(print_continue, 1);
  GetParam().command(*dialog);
  EXPECT_EQ(print_continue, 0);
}

QPushButton& cancel_button(QDialog& dialog) {
  auto* button = dialog.findChild<QPushButton*>();
  EXPECT_NE(button, nullptr);
  EXPECT_EQ(button->text(), QStringLiteral("Cancel"));
  return *button;
}

void press(QDialog& dialog, int key) {
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(&dialog, &event);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PrintingDialogTest,
    ::testing::Values(DialogCommandCase{"CancelClicked", [](QDialog& d) { cancel_button(d).click(); }},
                      DialogCommandCase{"EnterPressesTheDefaultButton", [](QDialog& d) { press(d, Qt::Key_Return); }},
                      DialogCommandCase{"Escape", [](QDialog& d) { press(d, Qt::Key_Escape); }},
                      DialogCommandCase{"Closed", [](QDialog& d) { d.close(); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace console::qt
