#include "console/io_selection.h"

#include <algorithm>
#include <cstdlib>

namespace console {

namespace {

constexpr char kBlank = ' ';

struct Cell {
  int column;
  int line_index;
};

// A pointer left of the window, as a drag can take it, still means column 0.
Cell pointer_cell(const IoView& view, int x, int y) {
  return {std::max(view.first_column + x / view.char_width, 0), view.first_line + y / view.char_height};
}

bool line_exists(const IoWindow& window, int line_index) {
  return line_index >= 0 && line_index < window.store.line_count();
}

void extend_selection(IoView& view, int column, int length) {
  if (column < view.selection_start) {
    view.selection_start = column;
  } else if (column > view.selection_end) {
    view.selection_end = std::min(column, length);
  } else if (std::abs(column - view.selection_start) < std::abs(column - view.selection_end)) {
    view.selection_start = column;
  } else {
    view.selection_end = column;
  }
}

void follow_pointer(IoWindow& window, Cell cell) {
  IoView& view = window.view;
  // Below the last line, or above the first, there is no text to mark.
  if (!line_exists(window, cell.line_index)) return;
  int length = window.store.line_length(cell.line_index + 1);
  if (view.selection_count == 0) {
    if (cell.column > length) return;
    view.selection_count = 1;
    view.selection_line = cell.line_index;
    view.selection_start = view.selection_end = cell.column;
  } else if (view.selection_line == cell.line_index) {
    extend_selection(view, cell.column, length);
  }
}

// The word around the column: back to the blank before it, on to the blank
// at or after it. At or past the line's end there is no word to take.
bool select_word(IoWindow& window, Cell cell) {
  if (!line_exists(window, cell.line_index)) return false;
  std::string_view line = window.store.line_text(cell.line_index + 1);
  auto column = static_cast<std::size_t>(cell.column);
  if (column >= line.size()) return false;
  std::size_t start = column;
  while (start > 0 && line[start - 1] != kBlank) --start;
  std::size_t end = std::min(line.find(kBlank, column), line.size());
  IoView& view = window.view;
  view.selection_count = 1;
  view.selection_line = cell.line_index;
  view.selection_start = static_cast<int>(start);
  view.selection_end = static_cast<int>(end);
  return true;
}

}  // namespace

std::string_view selected_text(const IoWindow& window) {
  const IoView& view = window.view;
  if (view.selection_count == 0) return {};
  std::string_view line = window.store.line_text(view.selection_line + 1);
  auto start = std::min(static_cast<std::size_t>(std::max(view.selection_start, 0)), line.size());
  auto end = std::min(static_cast<std::size_t>(std::max(view.selection_end, 0)), line.size());
  return start < end ? line.substr(start, end - start) : std::string_view{};
}

void invalidate_selection_cells(IoWindow& window) {
  const IoView& view = window.view;
  if (view.selection_count == 0 || view.selection_start >= view.selection_end) return;
  if (view.selection_line < view.first_line || view.selection_line > view.first_line + view.rows - 2) return;
  window.surface.invalidate(
      row_from_cell(view, view.selection_start, view.selection_line, cell_x(view, view.selection_end)), true);
}

void clear_selection(IoWindow& window) {
  invalidate_selection_cells(window);
  window.view.selection_count = 0;
  window.surface.set_edit_items_enabled(false);
}

void left_button_down(IoWindow& window) {
  clear_selection(window);
  window.view.dragging = true;
}

void mouse_move(IoWindow& window, int x, int y, bool left_button_held) {
  if (!left_button_held || !window.view.dragging) return;
  invalidate_selection_cells(window);
  follow_pointer(window, pointer_cell(window.view, x, y));
  invalidate_selection_cells(window);
}

void left_button_up(IoWindow& window) {
  IoView& view = window.view;
  view.dragging = false;
  if (view.selection_count == 0 || view.selection_start == view.selection_end) {
    view.selection_count = 0;
  } else {
    window.surface.set_edit_items_enabled(true);
  }
}

void left_double_click(IoWindow& window, int x, int y) {
  invalidate_selection_cells(window);
  if (!select_word(window, pointer_cell(window.view, x, y))) window.view.selection_count = 0;
  invalidate_selection_cells(window);
  window.view.dragging = false;
}

}  // namespace console
