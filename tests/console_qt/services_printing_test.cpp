// The printer as the print job's device, printing to a PDF file: the pages
// that come out for a given number of lines.
#include <gtest/gtest.h>

#include <QDialog>
#include <QWindow>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
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

// Sees whether a Cancel button has been painted anywhere.
class CancelPaintWatcher : public QObject {
 public:
  CancelPaintWatcher() { QCoreApplication::instance()->installEventFilter(this); }
  ~CancelPaintWatcher() override { QCoreApplication::instance()->removeEventFilter(this); }
  bool painted = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* button = qobject_cast<QPushButton*>(watched);
    if (event->type() == QEvent::Paint && button != nullptr && button->text() == QStringLiteral("Cancel")) {
      painted = true;
    }
    return false;
  }
};

// The printer's pages, counted, with the user's action once the first
// page has gone out and a look at the Printing dialog when the first one
// starts.
class WatchedDevice : public console::PrintDevice {
 public:
  WatchedDevice(QPrinter& printer, std::function<void()> after_first_page, std::function<void()> at_first_page)
      : device_(printer), after_first_page_(std::move(after_first_page)), at_first_page_(std::move(at_first_page)) {}
  int line_height() override { return device_.line_height(); }
  int printable_height() override { return device_.printable_height(); }
  bool start_document(std::string_view name) override { return device_.start_document(name); }
  bool start_page() override {
    if (++pages_started == 1) at_first_page_();
    return device_.start_page();
  }
  void draw_line(int x, int y, std::string_view text) override {
    ++lines_drawn;
    device_.draw_line(x, y, text);
  }
  bool end_page() override {
    if (pages_started == 1) after_first_page_();
    return device_.end_page();
  }
  bool end_document() override { return device_.end_document(); }

  int pages_started = 0;
  int lines_drawn = 0;

 private:
  QtPrintDevice device_;
  std::function<void()> after_first_page_;
  std::function<void()> at_first_page_;
};

// The Printing dialog of the desktop program, over a PDF printer, the
// print dialog answered with all pages.
class PdfPrintingDialogSession : public QtPrintingDialogSession {
 public:
  PdfPrintingDialogSession(QWidget* owner, const QString& path) : QtPrintingDialogSession(owner) {
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setOutputFileName(path);
  }
  std::optional<console::PrintChoice> choose_printer() override {
    device_.emplace(printer_, [this] { after_first_page(); }, [this] { at_first_page(); });
    return console::PrintChoice{};
  }
  console::PrintDevice& device() override { return *device_; }
  void release_device() override {
    pages_started = device_->pages_started;
    lines_drawn = device_->lines_drawn;
    device_.reset();
  }

  int lines_per_page() {
    QtPrintDevice probe(printer_);
    return console::page_layout(probe.line_height(), probe.printable_height()).lines_per_page;
  }

  std::function<void()> after_first_page = [] {};
  std::function<void()> at_first_page = [] {};
  int pages_started = 0;
  int lines_drawn = 0;

 private:
  QPrinter printer_{QPrinter::HighResolution};
  std::optional<WatchedDevice> device_;
};

TEST_F(ServicesPrintingTest, CancelInThePrintingDialogStopsAManyPageJobBeforeItsLastPage) {
  QWidget owner;
  owner.show();
  PdfPrintingDialogSession session(&owner, path);
  constexpr int kPages = 40;
  add_lines(kPages * session.lines_per_page());
  bool drawn_before_the_first_page = false;
  bool owner_disabled_meanwhile = false;
  CancelPaintWatcher watcher;
  session.at_first_page = [&] {
    QDialog* dialog = session.printing_dialog();
    drawn_before_the_first_page = dialog->windowHandle()->isExposed() && watcher.painted;
    owner_disabled_meanwhile = !owner.isEnabled();
  };
  // The user's click reaches the dialog as the window system delivers it:
  // among the events the job serves between its lines.
  session.after_first_page = [&] {
    QPushButton* cancel = session.printing_dialog()->findChild<QPushButton*>();
    QTimer::singleShot(0, cancel, [cancel] { QTest::mouseClick(cancel, Qt::LeftButton); });
  };
  EXPECT_EQ(console::print_store(store, session), console::PrintOutcome::cancelled);
  EXPECT_TRUE(drawn_before_the_first_page);
  EXPECT_TRUE(owner_disabled_meanwhile);
  EXPECT_EQ(session.print_continue, 0);
  EXPECT_GE(session.pages_started, 1);
  EXPECT_LT(session.pages_started, kPages);
  EXPECT_LT(session.lines_drawn, kPages * session.lines_per_page());
  EXPECT_EQ(session.printing_dialog(), nullptr);
  EXPECT_TRUE(owner.isEnabled());
}

}  // namespace
}  // namespace console::qt
