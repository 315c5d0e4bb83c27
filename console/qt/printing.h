#pragma once
// The Print command on Qt: the print dialog, the printer as the print job's
// device, and the modeless Printing dialog whose Cancel stops the job.
#include <memory>
#include <string_view>

#include <QDialog>
#include <QFont>
#include <QPainter>

#include "console/print_job.h"
#include "console/text_store.h"

class QPrinter;
class QWidget;

namespace console::qt {

// Prints the store on a printer the user chooses, with owner (may be null)
// disabled while the job runs. Reports nothing: a failed job just stops.
void print_window_text(QWidget* owner, const console::TextStore& store);

// The modeless "Printing..." dialog, caption "TOLM", with a default Cancel
// button; any command of it (Cancel, Enter, Escape, a close) clears
// print_continue.
std::unique_ptr<QDialog> make_printing_dialog(int& print_continue);

// The Printing dialog's side of a job: the dialog is drawn before the
// first page goes out and is served between lines, so that its Cancel can
// be pressed while the pages are sent; the owner is disabled meanwhile.
// The print dialog and the device are the subclass's.
class QtPrintingDialogSession : public console::PrintSession {
 public:
  explicit QtPrintingDialogSession(QWidget* owner) : owner_(owner) {}
  ~QtPrintingDialogSession() override;

  void show_printing_dialog() override;
  void destroy_printing_dialog() override;
  void set_owner_enabled(bool enabled) override;
  void serve_pending_events() override;

  // While the job runs; null before and after.
  QDialog* printing_dialog() const { return dialog_.get(); }

 protected:
  QWidget* owner() const { return owner_; }

 private:
  QWidget* owner_;
  std::unique_ptr<QDialog> dialog_;
};

// A QPrinter as the job's device, in the printer's default font. Pages
// start with the painter, so a job that draws nothing produces nothing. A
// job not ended when the device goes is aborted.
class QtPrintDevice : public console::PrintDevice {
 public:
  explicit QtPrintDevice(QPrinter& printer);
  ~QtPrintDevice() override;
  QtPrintDevice(const QtPrintDevice&) = delete;
  QtPrintDevice& operator=(const QtPrintDevice&) = delete;

  int line_height() override;
  int printable_height() override;
  bool start_document(std::string_view name) override;
  bool start_page() override;
  void draw_line(int x, int y, std::string_view text) override;
  bool end_page() override { return true; }
  bool end_document() override;

 private:
  QPrinter& printer_;
  QPainter painter_;
  QFont font_;
  bool ended_ = false;
};

}  // namespace console::qt
