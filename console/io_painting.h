#pragma once
// Painting the Input/Output window: only the lines that meet the update
// rectangle, each drawn whole, then the selection over them.
#include "console/io_window.h"

namespace console {

// Line indices first .. last (0-based, inclusive) to draw for an update
// rectangle; empty when last < first.
struct LineRange {
  int first = 0;
  int last = -1;
  bool operator==(const LineRange&) const = default;
};

LineRange lines_to_paint(const IoView& view, int line_count, PixelRect update);
void paint(IoWindow& window, PixelRect update);

}  // namespace console
