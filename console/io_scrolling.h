#pragma once
// Scrolling the Input/Output window: the scroll ranges that follow the text
// and the window size, and the scroll bar requests.
#include "console/io_window.h"

namespace console {

enum class VerticalRequest { top, bottom, line_up, line_down, page_up, page_down, thumb_position, thumb_track, other };
enum class HorizontalRequest { left_end, column_left, column_right, page_left, page_right, thumb_track, thumb_position, other };

// How far a request asks to move, before clamping to the range; thumb is
// the thumb's value for the thumb requests.
int vertical_delta(const IoView& view, VerticalRequest request, int thumb = 0);
int horizontal_delta(const IoView& view, HorizontalRequest request, int thumb = 0);

void scroll_vertically(IoWindow& window, VerticalRequest request, int thumb = 0);
void scroll_horizontally(IoWindow& window, HorizontalRequest request, int thumb = 0);

// Recomputes both ranges from the line count, the longest line, the caret
// of a line being typed and the window size, pulling the positions back
// inside them.
void update_scroll_ranges(IoWindow& window);

// Scrolls sideways so that the caret's cell lies within the whole columns
// of the view: the view follows typing past the right edge and erasing or
// moving back past the left one.
void keep_caret_in_view(IoWindow& window);

}  // namespace console
