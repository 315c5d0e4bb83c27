#pragma once
// The Input/Output window as its handlers see it: its view state, the text
// store it shows and edits, and the surface its effects go to. The handlers
// are in io_scrolling.h, io_line_editor.h, io_selection.h and io_painting.h.
#include "console/io_surface.h"
#include "console/io_view.h"
#include "console/text_store.h"

namespace console {

struct IoWindow {
  IoWindow(TextStore& text, IoSurface& target) : store(text), surface(target) {}

  IoView view;
  TextStore& store;
  IoSurface& surface;
};

// The window's creation, with the fixed-pitch font's average character width
// and height; a metric below one pixel is taken as one.
void create_io_window(IoWindow& window, int char_width, int char_height);
// A new client size in pixels.
void resize_io_window(IoWindow& window, int client_width, int client_height);
void place_caret(IoWindow& window);

}  // namespace console
