#include "console/qt/picture_printing.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

namespace console::qt {

bool choose_printer_by_dialog(QPrinter& printer, QWidget* owner) {
  QPrintDialog dialog(&printer, owner);
  return dialog.exec() == QDialog::Accepted;
}

bool print_picture(const PictureDrawer& draw, const QString& document_name, double width, double height,
                   QWidget* owner, const PrinterChooser& choose_printer) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(document_name);
  if (!(choose_printer ? choose_printer(printer, owner) : choose_printer_by_dialog(printer, owner))) return false;
  // Every copy is a page of the job, as the text's printout makes its
  // copies: a file or a printing system that repeats nothing still gets
  // them all.
  const int copies = std::max(1, printer.copyCount());
  printer.setCopyCount(1);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  QRectF page(QPointF(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
  // The window's shape, scaled to the page's width or height, whichever
  // comes first, at the top of the page.
  double scale = width > 0 && height > 0 ? std::min(page.width() / width, page.height() / height) : 0.0;
  QRectF area = scale > 0 ? QRectF(page.topLeft(), QSizeF(width * scale, height * scale)) : page;
  for (int copy = 1; copy <= copies; ++copy) {
    if (copy > 1 && !printer.newPage()) {
      painter.end();
      return false;
    }
    draw(painter, area);
  }
  return painter.end();
}

PicturePrintingServices::PicturePrintingServices(FrameServices* text_services, std::function<bool()> picture_active,
                                                 std::function<void(QWidget*)> print_picture)
    : text_services_(text_services),
      picture_active_(std::move(picture_active)),
      print_picture_(std::move(print_picture)) {}

bool PicturePrintingServices::choose_save_file(std::string& file_name, std::string& file_title) {
  return text_services_ != nullptr && text_services_->choose_save_file(file_name, file_title);
}

void PicturePrintingServices::save_window_text(const std::string& file_name) {
  if (text_services_ != nullptr) text_services_->save_window_text(file_name);
}

void PicturePrintingServices::print_window_text(QWidget* owner) {
  if (picture_active_()) {
    print_picture_(owner);
  } else if (text_services_ != nullptr) {
    text_services_->print_window_text(owner);
  }
}

int PicturePrintingServices::copy_selection() { return text_services_ != nullptr ? text_services_->copy_selection() : 0; }

int PicturePrintingServices::cut_selection() { return text_services_ != nullptr ? text_services_->cut_selection() : 0; }

void PicturePrintingServices::paste_clipboard() {
  if (text_services_ != nullptr) text_services_->paste_clipboard();
}

void PicturePrintingServices::delete_selection() {
  if (text_services_ != nullptr) text_services_->delete_selection();
}

}  // namespace console::qt
