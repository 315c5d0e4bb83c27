#include "console/io_painting.h"

#include <algorithm>

#include "console/io_selection.h"

namespace console {

namespace {

void draw_selection(IoWindow& window) {
  const IoView& view = window.view;
  if (view.selection_line < view.first_line || view.selection_line > view.first_line + view.rows) return;
  std::string_view text = selected_text(window);
  if (text.empty()) return;
  window.surface.draw_text(cell_x(view, view.selection_start), cell_y(view, view.selection_line), text,
                           TextColours::selected);
}

}  // namespace

LineRange lines_to_paint(const IoView& view, int line_count, PixelRect update) {
  // One line more above the rectangle than it strictly meets.
  return {std::max(view.first_line + update.top / view.char_height - 1, 0),
          std::min(line_count - 1, view.first_line + update.bottom / view.char_height)};
}

void paint(IoWindow& window, PixelRect update) {
  const IoView& view = window.view;
  LineRange lines = lines_to_paint(view, window.store.line_count(), update);
  for (int i = lines.first; i <= lines.last; ++i) {
    window.surface.draw_text(cell_x(view, 0), cell_y(view, i), window.store.line_text(i + 1), TextColours::normal);
  }
  draw_selection(window);
  place_caret(window);
  window.surface.show_caret();
}

}  // namespace console
