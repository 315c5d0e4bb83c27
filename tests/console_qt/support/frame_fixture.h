#pragma once
// A frame with its Input/Output window on a state of the test's own, the
// window hooks installed in the runtime, recording services, and modal
// dialogs answered by the test instead of a user.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "console/qt/console_state.h"
#include "console/qt/frame_window.h"
#include "console/qt/io_widget.h"
#include "console_qt/support/recording_services.h"

namespace console::qt::test {

// What a message box showed.
struct ShownBox {
  QString title;
  QString text;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
};

// Answers the frame's message boxes from a queue (Cancel when it runs dry)
// and records each one, and the end of the program.
struct ModalRecorder {
  FrameHooks hooks();

  std::deque<QMessageBox::StandardButton> answers;
  std::vector<ShownBox> boxes;
  std::vector<QString> dialogs;  // titles of the dialogs run
  int finished = 0;              // calls of the end-of-program shutdown
  std::vector<int> process_ends;  // the codes the process would have ended with
  std::vector<std::string>* log = nullptr;  // gets "prompt" and "finish"
};

class FrameTest : public ::testing::Test {
 protected:
  FrameTest();
  ~FrameTest() override;

  // A line as the runtime's console output hands it over.
  void write_line(const std::string& line);
  std::string store_line(int k) const;
  QAction& action(int id) const;

  ConsoleState state;
  RecordingServices services;
  ModalRecorder modal;
  std::unique_ptr<FrameWindow> frame;
  IoWidget* io = nullptr;
};

}  // namespace console::qt::test
