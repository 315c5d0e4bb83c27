#include "console/io_line_editor.h"

#include <algorithm>
#include <limits>

#include "console/io_scrolling.h"
#include "console/io_selection.h"

namespace console {

namespace {

constexpr int kTabStop = 8;
constexpr char kBlank = ' ';

// Typing and output bring a view that was scrolled far up back to the end.
void follow_to_bottom(IoWindow& window) {
  if (window.view.first_line + window.view.rows + 2 < window.store.line_count()) {
    scroll_vertically(window, VerticalRequest::bottom);
  }
}

void insert_blank_at_caret(IoWindow& window) {
  if (window.view.line_complete) return;
  window.store.insert_blank(window.view.caret_column);
  window.surface.text_changed();
  window.surface.invalidate(rest_of_caret_row(window.view), true);
}

void delete_at_caret(IoWindow& window) {
  if (window.view.line_complete) return;
  if (window.store.delete_chars(window.store.line_count(), window.view.caret_column, 1) == 0) return;
  window.surface.text_changed();
  window.surface.invalidate(rest_of_caret_row(window.view), true);
}

void move_caret_right(IoWindow& window) {
  if (window.view.line_complete) return;
  IoView& view = window.view;
  view.caret_column = std::min(view.caret_column + 1, window.store.line_length(window.store.line_count()));
  keep_caret_in_view(window);
  place_caret(window);
}

void backspace(IoWindow& window) {
  if (window.view.caret_column == 0) return;
  --window.view.caret_column;
  delete_at_caret(window);
}

void end_line(IoWindow& window) {
  IoView& view = window.view;
  if (view.line_complete) {
    // Enter with nothing typed answers with an empty line.
    follow_to_bottom(window);
    window.store.start_new_line();
    window.surface.text_changed();
  }
  view.caret_column = 0;
  ++view.caret_row;
  view.line_complete = true;
  if (view.first_column != 0) scroll_horizontally(window, HorizontalRequest::left_end);
  if (window.store.line_count() + 2 > view.rows) {
    // The view follows the ended line down by one. The range is brought up
    // to date first so that the step stays within it: a step beyond it
    // would move the pixels while the position stays.
    update_scroll_ranges(window);
    scroll_vertically(window, VerticalRequest::line_down);
  }
  view.waiting_for_input = false;
}

void draw_typed_char(IoWindow& window, char character) {
  const IoView& view = window.view;
  window.surface.hide_caret();
  window.surface.draw_char_now(cell_x(view, view.caret_column), cell_y(view, view.caret_row), character);
  window.surface.show_caret();
}

void insert_typed_char(IoWindow& window, char character) {
  IoView& view = window.view;
  follow_to_bottom(window);
  if (view.line_complete) window.store.start_new_line();
  view.line_complete = false;
  insert_blank_at_caret(window);
  draw_typed_char(window, character);
  window.store.put_char(view.caret_column, character);
  ++view.caret_column;
  window.store.widen_longest_line(view.caret_column);
}

}  // namespace

void key_down(IoWindow& window, Key key) {
  switch (key) {
    case Key::home: scroll_vertically(window, VerticalRequest::top); break;
    case Key::end: scroll_vertically(window, VerticalRequest::bottom); break;
    case Key::page_up: scroll_vertically(window, VerticalRequest::page_up); break;
    case Key::page_down: scroll_vertically(window, VerticalRequest::page_down); break;
    case Key::up: scroll_vertically(window, VerticalRequest::line_up); break;
    case Key::down: scroll_vertically(window, VerticalRequest::line_down); break;
    case Key::left:
      window.view.caret_column = std::max(window.view.caret_column - 1, 0);
      keep_caret_in_view(window);
      place_caret(window);
      break;
    case Key::right: move_caret_right(window); break;
    case Key::insert: insert_blank_at_caret(window); break;
    case Key::del: delete_at_caret(window); break;
    case Key::other: break;
  }
}

void type_char(IoWindow& window, int code) {
  clear_selection(window);
  switch (code) {
    case kBackspace: backspace(window); break;
    case kTab:
      do {
        type_char(window, kBlank);
      } while (window.view.caret_column % kTabStop != 0);
      break;
    case kEnter: end_line(window); break;
    default: insert_typed_char(window, static_cast<char>(code));
  }
  keep_caret_in_view(window);
  place_caret(window);
}

void show_output_line(IoWindow& window, std::string_view line) {
  IoView& view = window.view;
  // A line the user was typing ends here, so that the output goes on the
  // row below it and the caret stays on the row after the last line.
  if (!view.line_complete) type_char(window, kEnter);
  follow_to_bottom(window);
  int length = static_cast<int>(std::min<std::size_t>(line.size(), std::numeric_limits<int>::max()));
  window.store.widen_longest_line(length);
  if (length >= view.columns) update_scroll_ranges(window);
  window.store.start_new_line();
  window.store.store_new_line_text(line.substr(0, static_cast<std::size_t>(length)));
  window.surface.text_changed();
  view.line_complete = false;
  auto right = std::min<long long>(static_cast<long long>(length) * view.char_width, std::numeric_limits<int>::max());
  window.surface.invalidate(row_from_cell(view, view.caret_column, view.caret_row, static_cast<int>(right)), true);
  // Enter on the line just made: no further line opens, the caret and the
  // view move on, and a waiting read is released.
  type_char(window, kEnter);
}

}  // namespace console
