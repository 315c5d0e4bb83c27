#pragma once
// The Input/Output window's view and editing state, and the cell geometry
// that turns its columns and line indices into client pixels. Line indices
// are 0-based here: line index i shows store line i + 1.
#include "console/io_surface.h"

namespace console {

struct IoView {
  int char_width = 1;  // of the fixed-pitch font
  int char_height = 1;
  int columns = 0;  // whole cells that fit the client area
  int rows = 0;
  int first_line = 0;  // lines above the top of the window
  int max_first_line = 0;
  int first_column = 0;
  int max_first_column = 0;
  int caret_column = 0;
  // N - 1 while the user types line N; N once a line has ended.
  int caret_row = 0;
  // The last line has ended, so the next typed character opens a new one.
  bool line_complete = true;
  bool waiting_for_input = false;
  int selection_count = 0;  // 0 or 1
  int selection_line = 0;
  int selection_start = 0;
  int selection_end = 0;  // the column after the last selected one
  bool dragging = false;
};

inline int cell_x(const IoView& view, int column) { return (column - view.first_column) * view.char_width; }
inline int cell_y(const IoView& view, int line_index) { return (line_index - view.first_line) * view.char_height; }

// One row high, from the cell of (column, line index) to right_x.
inline PixelRect row_from_cell(const IoView& view, int column, int line_index, int right_x) {
  int top = cell_y(view, line_index);
  return {cell_x(view, column), top, right_x, top + view.char_height};
}

// The rest of the caret's row, to the right edge of the last whole column.
inline PixelRect rest_of_caret_row(const IoView& view) {
  return row_from_cell(view, view.caret_column, view.caret_row, view.columns * view.char_width);
}

}  // namespace console
