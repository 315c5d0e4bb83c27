#include "console_qt/support/recording_services.h"

namespace console::qt::test {

bool RecordingServices::choose_save_file(std::string& file_name, std::string& file_title) {
  calls.push_back("choose " + file_name);
  if (!confirm_dialog) return false;
  file_name = chosen_path;
  file_title = chosen_title;
  return true;
}

void RecordingServices::save_window_text(const std::string& file_name) {
  calls.push_back("save " + file_name);
  if (text_unchanged != nullptr) *text_unchanged = 1;
}

void RecordingServices::print_window_text(QWidget* owner) {
  calls.push_back("print");
  print_owner = owner;
}

int RecordingServices::copy_selection() {
  calls.push_back("copy");
  return clipboard_result;
}

int RecordingServices::cut_selection() {
  calls.push_back("cut");
  return clipboard_result;
}

void RecordingServices::paste_clipboard() { calls.push_back("paste"); }

void RecordingServices::delete_selection() { calls.push_back("delete"); }

}  // namespace console::qt::test
