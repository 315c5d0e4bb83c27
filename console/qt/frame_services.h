#pragma once
// What the frame window's commands call beyond the frame itself: saving the
// Input/Output text, printing it, and the edit commands on its selection.
// The frame holds one FrameServices; the start-up gives it the standard one,
// tests give it a recording one.
#include <string>

class QWidget;

namespace console::qt {

class FrameServices {
 public:
  virtual ~FrameServices() = default;

  // The Save As dialog, offering file_name as the initial name. true when
  // the user confirmed a name: file_name then holds the full path and
  // file_title the bare name. A cancelled dialog changes neither.
  virtual bool choose_save_file(std::string& file_name, std::string& file_title) = 0;
  // Writes the whole Input/Output text to file_name, reporting its own
  // errors; sets the environment's text_unchanged flag after a complete save.
  virtual void save_window_text(const std::string& file_name) = 0;
  // The Print command, with owner as the owner of its dialogs.
  virtual void print_window_text(QWidget* owner) = 0;

  // The edit commands on the Input/Output window. Copy and Cut return 1
  // when the clipboard was written, else 0.
  virtual int copy_selection() = 0;
  virtual int cut_selection() = 0;
  virtual void paste_clipboard() = 0;
  virtual void delete_selection() = 0;
};

}  // namespace console::qt
