#pragma once
// Marking a range of one line with the mouse. The selection never moves the
// caret and never changes the text; Cut, Copy and Delete act on it.
// Pointer positions are client pixels.
#include <string_view>

#include "console/io_window.h"

namespace console {

void left_button_down(IoWindow& window);
void mouse_move(IoWindow& window, int x, int y, bool left_button_held);
void left_button_up(IoWindow& window);
// Selects the blank-separated word under the pointer.
void left_double_click(IoWindow& window, int x, int y);

// The selected characters, held to the selection line's present length (a
// key may have shortened the line since the range was marked); empty when
// nothing is selected.
std::string_view selected_text(const IoWindow& window);

// Redraws the selected cells, when they are in view.
void invalidate_selection_cells(IoWindow& window);
// Removes the highlight and grays Cut, Copy and Delete.
void clear_selection(IoWindow& window);

}  // namespace console
