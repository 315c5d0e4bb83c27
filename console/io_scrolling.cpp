#include "console/io_scrolling.h"

#include <algorithm>

namespace console {

namespace {

int clamped_delta(int delta, int position, int max_position) {
  return std::min(std::max(delta, -position), max_position - position);
}

// Moves one bar by delta cells; returns whether anything moved.
bool move_bar(IoSurface& surface, ScrollBar bar, int& position, int max_position, int delta,
              int cell_pixels) {
  delta = clamped_delta(delta, position, max_position);
  if (delta == 0) return false;
  position += delta;
  if (bar == ScrollBar::vertical) {
    surface.scroll_client(0, -delta * cell_pixels);
  } else {
    surface.scroll_client(-delta * cell_pixels, 0);
  }
  surface.set_scroll_position(bar, position, true);
  return true;
}

void set_range(IoSurface& surface, ScrollBar bar, int& position, int max_position) {
  position = std::min(position, max_position);
  surface.set_scroll_range(bar, max_position, false);
  surface.set_scroll_position(bar, position, true);
}

}  // namespace

int vertical_delta(const IoView& view, VerticalRequest request, int thumb) {
  switch (request) {
    case VerticalRequest::top: return -view.first_line;
    case VerticalRequest::bottom: return view.max_first_line - view.first_line;
    case VerticalRequest::line_up: return -1;
    case VerticalRequest::line_down: return 1;
    case VerticalRequest::page_up: return std::min(-view.rows, -1);
    case VerticalRequest::page_down: return std::max(view.rows, 1);
    // The text moves when the thumb is released, not while it is dragged.
    case VerticalRequest::thumb_position: return thumb - view.first_line;
    default: return 0;
  }
}

int horizontal_delta(const IoView& view, HorizontalRequest request, int thumb) {
  switch (request) {
    case HorizontalRequest::left_end: return -view.first_column;
    case HorizontalRequest::column_left: return -1;
    case HorizontalRequest::column_right: return 1;
    case HorizontalRequest::page_left: return -8;
    case HorizontalRequest::page_right: return 8;
    // Sideways the text follows the thumb while it is dragged.
    case HorizontalRequest::thumb_track: return thumb - view.first_column;
    default: return 0;
  }
}

void scroll_vertically(IoWindow& window, VerticalRequest request, int thumb) {
  IoView& view = window.view;
  if (move_bar(window.surface, ScrollBar::vertical, view.first_line, view.max_first_line,
               vertical_delta(view, request, thumb), view.char_height)) {
    window.surface.repaint_now();
  }
}

void scroll_horizontally(IoWindow& window, HorizontalRequest request, int thumb) {
  IoView& view = window.view;
  move_bar(window.surface, ScrollBar::horizontal, view.first_column, view.max_first_column,
           horizontal_delta(view, request, thumb), view.char_width);
}

void update_scroll_ranges(IoWindow& window) {
  IoView& view = window.view;
  // Two lines of room below the text: the input line and one spare.
  view.max_first_line = std::max(window.store.line_count() + 2 - view.rows, 0);
  set_range(window.surface, ScrollBar::vertical, view.first_line, view.max_first_line);
  // The caret's own cell, after the last typed character, must come into
  // view as well as the longest line.
  int input_reach = view.line_complete ? 0 : view.caret_column + 1;
  view.max_first_column = std::max({window.store.longest_line() - view.columns, input_reach - view.columns, 0});
  set_range(window.surface, ScrollBar::horizontal, view.first_column, view.max_first_column);
}

void keep_caret_in_view(IoWindow& window) {
  IoView& view = window.view;
  int whole_columns = std::max(view.columns, 1);
  int target = view.first_column;
  if (view.caret_column >= view.first_column + whole_columns) {
    target = view.caret_column - whole_columns + 1;
  } else if (view.caret_column < view.first_column) {
    // Back past the left edge the caret comes in at the right, with the
    // text before it in view.
    target = std::max(view.caret_column - whole_columns + 1, 0);
  }
  if (target == view.first_column) return;
  update_scroll_ranges(window);
  scroll_horizontally(window, HorizontalRequest::thumb_track, target);
}

}  // namespace console
