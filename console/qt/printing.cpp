#include "console/qt/printing.h"

#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <memory>
#include <optional>

namespace console::qt {

namespace {

constexpr int kHighestPage = 32767;

QString from_latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

// The dialog has no parent: disabling the owner would disable its child
// windows too, and with them the Cancel button.
std::unique_ptr<QDialog> make_printing_dialog(int& print_continue) {
  auto dialog = std::make_unique<QDialog>(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  dialog->setWindowTitle(QStringLiteral("TOLM"));
  auto* label = new QLabel(QStringLiteral("Printing..."), dialog.get());
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog.get());
  cancel->setDefault(true);
  label->move(25, 10);
  cancel->move(25, 40);
  dialog->setFixedSize(label->sizeHint().width() + cancel->sizeHint().width() + 50, 90);
  QObject::connect(cancel, &QPushButton::clicked, dialog.get(), [&print_continue] { print_continue = 0; });
  // Escape, and a close from the window manager, are commands as well.
  QObject::connect(dialog.get(), &QDialog::rejected, dialog.get(), [&print_continue] { print_continue = 0; });
  return dialog;
}

namespace {

class QtPrintSession : public QtPrintingDialogSession {
 public:
  explicit QtPrintSession(QWidget* owner) : QtPrintingDialogSession(owner) {}

  std::optional<console::PrintChoice> choose_printer() override {
    printer_.setCollateCopies(true);
    printer_.setFromTo(1, 1);
    printer_.setCopyCount(1);
    QPrintDialog dialog(&printer_, owner());
    dialog.setMinMax(1, kHighestPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    console::PrintChoice choice;
    if (printer_.printRange() == QPrinter::PageRange && printer_.fromPage() > 0) {
      choice.pages = console::PageRange{printer_.fromPage(), printer_.toPage()};
    }
    choice.copies = printer_.copyCount();
    // The job makes every copy itself, as a collated pass over the range;
    // the printing system must not repeat them.
    printer_.setCopyCount(1);
    device_.emplace(printer_);
    return choice;
  }

  console::PrintDevice& device() override { return *device_; }
  void release_device() override { device_.reset(); }

 private:
  QPrinter printer_{QPrinter::HighResolution};
  std::optional<QtPrintDevice> device_;
};

// The window system maps a new window some time after it is shown; until
// then it cannot be drawn. A second is more than any display takes.
void wait_until_exposed(QWidget& widget) {
  QElapsedTimer waited;
  waited.start();
  while (widget.windowHandle() != nullptr && !widget.windowHandle()->isExposed() && waited.elapsed() < 1000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
}

}  // namespace

QtPrintingDialogSession::~QtPrintingDialogSession() = default;

void QtPrintingDialogSession::show_printing_dialog() {
  dialog_ = make_printing_dialog(print_continue);
  dialog_->show();
  if (owner_ != nullptr && owner_->window()->windowHandle() != nullptr && dialog_->windowHandle() != nullptr) {
    dialog_->windowHandle()->setTransientParent(owner_->window()->windowHandle());
  }
  // Drawn before the first page, not after the job.
  wait_until_exposed(*dialog_);
  dialog_->repaint();
}

void QtPrintingDialogSession::destroy_printing_dialog() { dialog_.reset(); }

void QtPrintingDialogSession::set_owner_enabled(bool enabled) {
  if (owner_ != nullptr) owner_->setEnabled(enabled);
}

void QtPrintingDialogSession::serve_pending_events() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void print_window_text(QWidget* owner, const console::TextStore& store) {
  QtPrintSession session(owner);
  console::print_store(store, session);
}

QtPrintDevice::QtPrintDevice(QPrinter& printer) : printer_(printer) {}

QtPrintDevice::~QtPrintDevice() {
  if (!painter_.isActive()) return;
  // Cancelled or failed: the printing system drops what it was given.
  if (!ended_) printer_.abort();
  painter_.end();
}

int QtPrintDevice::line_height() {
  QFontMetrics metrics(font_, &printer_);
  return metrics.height() + metrics.leading();
}

int QtPrintDevice::printable_height() { return printer_.height(); }

bool QtPrintDevice::start_document(std::string_view name) {
  printer_.setDocName(from_latin1(name));
  return true;
}

bool QtPrintDevice::start_page() {
  if (painter_.isActive()) return printer_.newPage();
  if (!painter_.begin(&printer_)) return false;
  painter_.setFont(font_);
  return true;
}

void QtPrintDevice::draw_line(int x, int y, std::string_view text) {
  // Lines are placed by the top of their cells; the painter by the baseline.
  painter_.drawText(x, y + painter_.fontMetrics().ascent(), from_latin1(text));
}

bool QtPrintDevice::end_document() {
  ended_ = true;
  if (!painter_.isActive()) return true;
  return painter_.end();
}

}  // namespace console::qt
