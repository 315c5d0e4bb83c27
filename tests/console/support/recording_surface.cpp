#include "console/support/recording_surface.h"

namespace console::test {

namespace {

BarState& bar_of(RecordingSurface& surface, ScrollBar bar) {
  return bar == ScrollBar::vertical ? surface.vertical : surface.horizontal;
}

}  // namespace

void RecordingSurface::invalidate(PixelRect rect, bool erase) {
  calls.push_back("invalidate");
  invalidations.push_back({rect, erase});
}

void RecordingSurface::scroll_client(int dx, int dy) {
  calls.push_back("scroll_client");
  scrolls.push_back({dx, dy});
}

void RecordingSurface::set_scroll_range(ScrollBar bar, int max, bool /*redraw*/) {
  calls.push_back("set_scroll_range");
  bar_of(*this, bar).max = max;
}

void RecordingSurface::set_scroll_position(ScrollBar bar, int position, bool /*redraw*/) {
  calls.push_back("set_scroll_position");
  bar_of(*this, bar).position = position;
}

void RecordingSurface::repaint_now() {
  calls.push_back("repaint_now");
  ++repaints;
}

void RecordingSurface::draw_text(int x, int y, std::string_view text, TextColours colours) {
  calls.push_back("draw_text");
  drawings.push_back({x, y, std::string(text), colours});
}

void RecordingSurface::draw_char_now(int x, int y, char character) {
  calls.push_back("draw_char_now");
  drawings.push_back({x, y, std::string(1, character), TextColours::normal});
}

void RecordingSurface::place_caret(int x, int y) {
  calls.push_back("place_caret");
  caret_x = x;
  caret_y = y;
}

void RecordingSurface::show_caret() {
  calls.push_back("show_caret");
  caret_shown = true;
}

void RecordingSurface::hide_caret() {
  calls.push_back("hide_caret");
  caret_shown = false;
}

void RecordingSurface::set_edit_items_enabled(bool enabled) {
  calls.push_back(enabled ? "enable_edit_items" : "disable_edit_items");
  edit_items_enabled = enabled;
}

void RecordingSurface::text_changed() {
  calls.push_back("text_changed");
  text_unchanged = false;
}

void RecordingSurface::forget() {
  invalidations.clear();
  scrolls.clear();
  drawings.clear();
  calls.clear();
  repaints = 0;
}

}  // namespace console::test
