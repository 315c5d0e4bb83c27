#pragma once
// The frame's services as the running program uses them: the system
// clipboard, the Save As dialog, files and message boxes, and the printer,
// all acting on the one Input/Output window.
#include <memory>
#include <string>

#include "console/io_window.h"
#include "console/qt/frame_services.h"
#include "console/qt/qt_clipboard.h"

namespace console::qt {

class StandardFrameServices : public FrameServices {
 public:
  // text_unchanged is the environment's flag; a complete save sets it.
  StandardFrameServices(console::IoWindow& window, int& text_unchanged)
      : window_(window), text_unchanged_(text_unchanged) {}

  bool choose_save_file(std::string& file_name, std::string& file_title) override;
  void save_window_text(const std::string& file_name) override;
  void print_window_text(QWidget* owner) override;

  int copy_selection() override;
  int cut_selection() override;
  void paste_clipboard() override;
  void delete_selection() override;

 private:
  void type_later(std::string rest);

  console::IoWindow& window_;
  int& text_unchanged_;
  QtClipboard clipboard_;
};

std::unique_ptr<FrameServices> make_standard_frame_services(console::IoWindow& window, int& text_unchanged);

}  // namespace console::qt
