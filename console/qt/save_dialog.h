#pragma once
// The Save As dialog for the Input/Output text, and the message boxes in
// which saving reports its failures.
#include <string>
#include <string_view>

#include "console/save_text.h"

namespace console::qt {

// Offers file_name as the initial name, the filters "Text Files (*.txt)"
// and "All Files (*.*)", asks before overwriting and appends ".txt" to a
// name typed without a suffix. true when the user confirmed: file_name is
// then the full path and file_title the bare name. Cancel changes neither.
bool choose_save_file(std::string& file_name, std::string& file_title);

// A warning message box with an OK button and no owner window.
class MessageBoxes : public console::MessageSink {
 public:
  void warn(std::string_view text, std::string_view caption) override;
};

}  // namespace console::qt
