#include "console/qt/standard_frame_services.h"

#include <QCoreApplication>
#include <QTimer>

#include "console/edit_commands.h"
#include "console/qt/printing.h"
#include "console/qt/save_dialog.h"
#include "console/save_text.h"

namespace console::qt {

bool StandardFrameServices::choose_save_file(std::string& file_name, std::string& file_title) {
  return qt::choose_save_file(file_name, file_title);
}

void StandardFrameServices::save_window_text(const std::string& file_name) {
  MessageBoxes messages;
  console::save_window_text(window_.store, file_name, messages, text_unchanged_);
}

void StandardFrameServices::print_window_text(QWidget* owner) { qt::print_window_text(owner, window_.store); }

int StandardFrameServices::copy_selection() { return console::copy_selection(window_, clipboard_); }

int StandardFrameServices::cut_selection() { return console::cut_selection(window_, clipboard_); }

void StandardFrameServices::paste_clipboard() { type_later(console::paste_clipboard(window_, clipboard_)); }

// What a paste could not type before a read took its line is typed at the
// next pass of the message loop, after the read hook has returned, in the
// way keys typed ahead would be.
void StandardFrameServices::type_later(std::string rest) {
  if (rest.empty()) return;
  QTimer::singleShot(0, QCoreApplication::instance(),
                     [this, rest = std::move(rest)] { type_later(console::type_pasted(window_, rest)); });
}

void StandardFrameServices::delete_selection() { console::delete_selection(window_); }

std::unique_ptr<FrameServices> make_standard_frame_services(console::IoWindow& window, int& text_unchanged) {
  return std::make_unique<StandardFrameServices>(window, text_unchanged);
}

}  // namespace console::qt
