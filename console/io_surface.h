#pragma once
// What the Input/Output window's logic asks of the window it runs in. A
// front end on a real window system implements it; tests record it. All
// positions are pixels of the client area.
#include <string_view>

namespace console {

struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const PixelRect&) const = default;
};

enum class ScrollBar { vertical, horizontal };

// Selected text is drawn white on blue, everything else black on white, in
// the fixed-pitch font.
enum class TextColours { normal, selected };

class IoSurface {
 public:
  virtual ~IoSurface() = default;

  // Marks a part of the client area for the next paint.
  virtual void invalidate(PixelRect rect, bool erase) = 0;
  // Moves the client area's contents; the uncovered strip is invalidated.
  virtual void scroll_client(int dx, int dy) = 0;
  virtual void set_scroll_range(ScrollBar bar, int max, bool redraw) = 0;
  virtual void set_scroll_position(ScrollBar bar, int position, bool redraw) = 0;
  // Paints what is invalidated now, instead of when the queue is idle.
  virtual void repaint_now() = 0;
  // Draws while painting (see paint in io_painting.h).
  virtual void draw_text(int x, int y, std::string_view text, TextColours colours) = 0;
  // Draws a typed character at once, outside any paint, in normal colours.
  virtual void draw_char_now(int x, int y, char character) = 0;
  virtual void place_caret(int x, int y) = 0;
  virtual void show_caret() = 0;
  virtual void hide_caret() = 0;
  // Cut, Copy and Delete of the Edit menu, all three together.
  virtual void set_edit_items_enabled(bool enabled) = 0;
  // The store changed: the text is no longer what was last saved.
  virtual void text_changed() = 0;
};

}  // namespace console
