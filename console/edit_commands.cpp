#include "console/edit_commands.h"

#include <algorithm>

#include "console/io_line_editor.h"
#include "console/io_selection.h"

namespace console {

namespace {

bool write_clipboard(Clipboard& clipboard, std::string_view text) {
  if (!clipboard.open()) return false;
  // The clipboard is the platform's: the characters go with a NUL after
  // them, as plain text always travels.
  std::string block(text);
  block.push_back('\0');
  bool written = clipboard.empty() && clipboard.set_text(block);
  clipboard.close();
  return written;
}

std::optional<std::string> read_clipboard(Clipboard& clipboard) {
  if (!clipboard.has_text() || !clipboard.open()) return std::nullopt;
  std::optional<std::string> block = clipboard.get_text();
  clipboard.close();
  if (!block) return std::nullopt;
  return std::string(pasted_characters(*block));
}

// A deletion left of the caret on its own line pulls the caret with the
// text; one that covers the caret leaves it where the selection began.
void follow_caret(IoWindow& window) {
  IoView& view = window.view;
  if (view.selection_line != view.caret_row || view.selection_start >= view.caret_column) return;
  if (view.selection_end < view.caret_column) {
    view.caret_column -= view.selection_end - view.selection_start;
  } else {
    view.caret_column = view.selection_start;
  }
  place_caret(window);
}

}  // namespace

std::string_view pasted_characters(std::string_view block) {
  block = block.substr(0, block.find('\0'));
  return block.substr(0, std::min(block.size(), kPasteLimit));
}

int copy_selection(IoWindow& window, Clipboard& clipboard) {
  if (window.view.selection_count == 0) return 0;
  return write_clipboard(clipboard, selected_text(window)) ? 1 : 0;
}

int cut_selection(IoWindow& window, Clipboard& clipboard) {
  int copied = copy_selection(window, clipboard);
  if (copied == 1) delete_selection(window);
  return copied;
}

std::string paste_clipboard(IoWindow& window, Clipboard& clipboard) {
  std::optional<std::string> characters = read_clipboard(clipboard);
  if (!characters) return {};
  return type_pasted(window, *characters);
}

std::string type_pasted(IoWindow& window, std::string_view characters) {
  for (std::size_t i = 0; i < characters.size(); ++i) {
    bool was_waiting = window.view.waiting_for_input;
    type_char(window, static_cast<unsigned char>(characters[i]));
    // Typing on now would hand the read the next pasted line, or a stray
    // line feed, instead of the line that was ended.
    if (was_waiting && !window.view.waiting_for_input) return std::string(characters.substr(i + 1));
  }
  return {};
}

void delete_selection(IoWindow& window) {
  IoView& view = window.view;
  if (view.selection_count == 0) return;
  int removed = window.store.delete_chars(view.selection_line + 1, view.selection_start,
                                          view.selection_end - view.selection_start);
  if (removed > 0) window.surface.text_changed();
  follow_caret(window);
  window.surface.invalidate(
      row_from_cell(view, view.selection_start, view.selection_line, view.columns * view.char_width), true);
  clear_selection(window);
}

}  // namespace console
