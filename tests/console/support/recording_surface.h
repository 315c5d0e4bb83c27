#pragma once
// A surface for tests: it keeps what the window's logic asked for, as the
// state a real window would end up in and as a log of the calls.
#include <string>
#include <vector>

#include "console/io_surface.h"

namespace console::test {

struct Invalidation {
  PixelRect rect;
  bool erase = false;
  bool operator==(const Invalidation&) const = default;
};

struct Scroll {
  int dx = 0;
  int dy = 0;
  bool operator==(const Scroll&) const = default;
};

struct Drawing {
  int x = 0;
  int y = 0;
  std::string text;
  TextColours colours = TextColours::normal;
  bool operator==(const Drawing&) const = default;
};

struct BarState {
  int max = 0;
  int position = 0;
};

class RecordingSurface : public IoSurface {
 public:
  void invalidate(PixelRect rect, bool erase) override;
  void scroll_client(int dx, int dy) override;
  void set_scroll_range(ScrollBar bar, int max, bool redraw) override;
  void set_scroll_position(ScrollBar bar, int position, bool redraw) override;
  void repaint_now() override;
  void draw_text(int x, int y, std::string_view text, TextColours colours) override;
  void draw_char_now(int x, int y, char character) override;
  void place_caret(int x, int y) override;
  void show_caret() override;
  void hide_caret() override;
  void set_edit_items_enabled(bool enabled) override;
  void text_changed() override;

  // Empties the logs; the state a window keeps stays.
  void forget();

  std::vector<Invalidation> invalidations;
  std::vector<Scroll> scrolls;
  std::vector<Drawing> drawings;  // painted and drawn at once alike
  std::vector<std::string> calls;  // the name of every call, in order
  int repaints = 0;

  BarState vertical;
  BarState horizontal;
  int caret_x = 0;
  int caret_y = 0;
  bool caret_shown = false;
  bool edit_items_enabled = false;
  bool text_unchanged = true;
};

}  // namespace console::test
