#pragma once
// The one-line editor at the bottom of the Input/Output window, and the
// arrival of output lines above it. Editing acts only on the last line;
// the caret never leaves the input line, other keys only scroll the view.
#include <string_view>

#include "console/io_window.h"

namespace console {

enum class Key { home, end, page_up, page_down, up, down, left, right, insert, del, other };

inline constexpr int kBackspace = 8;
inline constexpr int kTab = 9;
inline constexpr int kEnter = 13;

void key_down(IoWindow& window, Key key);
// A typed (or pasted) character code, 0 .. 255. Typing always inserts.
void type_char(IoWindow& window, int code);
// One line the program wrote, without its line end.
void show_output_line(IoWindow& window, std::string_view line);

}  // namespace console
