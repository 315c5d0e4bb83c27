#include "console_qt/support/frame_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <stdexcept>
#include <string>

#include "console/qt/window_hooks.h"
#include "console_qt/support/qt_application.h"
#include "rio/hooks.h"

namespace console::qt::test {

FrameHooks ModalRecorder::hooks() {
  FrameHooks result;
  result.run_message_box = [this](QMessageBox& box) {
    boxes.push_back({box.windowTitle(), box.text(), box.icon(), box.standardButtons()});
    if (log != nullptr) log->push_back("prompt");
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    if (!answers.empty()) {
      answer = answers.front();
      answers.pop_front();
    }
    return static_cast<int>(answer);
  };
  result.run_dialog = [this](QDialog& dialog) {
    dialogs.push_back(dialog.windowTitle());
    return static_cast<int>(QDialog::Accepted);
  };
  result.finish_program = [this] {
    ++finished;
    if (log != nullptr) log->push_back("finish");
  };
  result.end_process = [this](int code) { process_ends.push_back(code); };
  return result;
}

FrameTest::FrameTest() {
  qt_application();
  state.text_store = std::make_unique<TextStore>();
  services.text_unchanged = &state.text_unchanged;
  frame = std::make_unique<FrameWindow>(state, &services, modal.hooks());
  frame->resize(800, 600);
  frame->show();
  // Shortcuts act in the active window only.
  QApplication::setActiveWindow(frame.get());
  io = frame->open_io_window();
  install_window_hooks(state);
}

FrameTest::~FrameTest() { rio::install_console_hooks({}); }

void FrameTest::write_line(const std::string& line) {
  std::string record = line + "\r\n";
  rio::call_write_hook(record.data(), static_cast<int>(record.size()), rio::kConsoleOutputHandle);
}

std::string FrameTest::store_line(int k) const { return std::string(state.text_store->line_text(k)); }

QAction& FrameTest::action(int id) const {
  QAction* found = frame->command_action(id);
  if (found == nullptr) throw std::runtime_error("no menu item " + std::to_string(id));
  return *found;
}

}  // namespace console::qt::test
