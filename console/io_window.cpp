#include "console/io_window.h"

#include <algorithm>

#include "console/io_scrolling.h"

namespace console {

void create_io_window(IoWindow& window, int char_width, int char_height) {
  window.view = IoView{};
  window.view.char_width = std::max(char_width, 1);
  window.view.char_height = std::max(char_height, 1);
}

void resize_io_window(IoWindow& window, int client_width, int client_height) {
  IoView& view = window.view;
  view.columns = std::max(client_width, 0) / view.char_width;
  view.rows = std::max(client_height, 0) / view.char_height;
  update_scroll_ranges(window);
}

void place_caret(IoWindow& window) {
  const IoView& view = window.view;
  window.surface.place_caret(cell_x(view, view.caret_column), cell_y(view, view.caret_row));
}

}  // namespace console
