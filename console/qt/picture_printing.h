#pragma once
// File > Print for the pictures: while the graphics window is the active
// child, Print prints its picture on a page; otherwise the Input/Output
// text as before. Everything else goes to the frame's own services.
#include <QString>
#include <functional>

#include "console/qt/frame_services.h"

class QPainter;
class QPrinter;
class QRectF;
class QWidget;

namespace console::qt {

// Sets up the printer for a job; false when the user cancelled.
using PrinterChooser = std::function<bool(QPrinter& printer, QWidget* owner)>;
// Draws the picture over an area of the page.
using PictureDrawer = std::function<void(QPainter& painter, const QRectF& area)>;

// The print dialog; an unset chooser in the hooks means this one.
bool choose_printer_by_dialog(QPrinter& printer, QWidget* owner);

// Prints the picture, as large as the page allows in the shape of the
// window it is shown in (width by height), once on a page of its own for
// each copy asked for. false when cancelled or failed.
bool print_picture(const PictureDrawer& draw, const QString& document_name, double width, double height,
                   QWidget* owner, const PrinterChooser& choose_printer);

class PicturePrintingServices : public FrameServices {
 public:
  // text_services may be null: the frame then had none, and only the
  // picture prints.
  PicturePrintingServices(FrameServices* text_services, std::function<bool()> picture_active,
                          std::function<void(QWidget* owner)> print_picture);

  bool choose_save_file(std::string& file_name, std::string& file_title) override;
  void save_window_text(const std::string& file_name) override;
  void print_window_text(QWidget* owner) override;
  int copy_selection() override;
  int cut_selection() override;
  void paste_clipboard() override;
  void delete_selection() override;

 private:
  FrameServices* text_services_;
  std::function<bool()> picture_active_;
  std::function<void(QWidget*)> print_picture_;
};

}  // namespace console::qt
