#pragma once
// Frame services that record what the frame asks of them and answer as the
// test sets them up.
#include <cstdint>
#include <string>
#include <vector>

#include "console/qt/frame_services.h"

namespace console::qt::test {

class RecordingServices : public FrameServices {
 public:
  bool choose_save_file(std::string& file_name, std::string& file_title) override;
  void save_window_text(const std::string& file_name) override;
  void print_window_text(QWidget* owner) override;
  int copy_selection() override;
  int cut_selection() override;
  void paste_clipboard() override;
  void delete_selection() override;

  std::vector<std::string> calls;  // "save <name>", "choose", "print", ...
  bool confirm_dialog = true;      // what the Save As dialog answers
  std::string chosen_path = "/tmp/out/RUN1.TXT";
  std::string chosen_title = "RUN1.TXT";
  int clipboard_result = 1;  // what Copy and Cut report
  std::int32_t* text_unchanged = nullptr;  // set to 1 by a save, when given
  QWidget* print_owner = nullptr;
};

}  // namespace console::qt::test
