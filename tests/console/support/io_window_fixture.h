#pragma once
// A created and sized Input/Output window over a fresh store, with cells of
// 8 x 16 pixels, and short ways to type, write and read lines.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "console/io_window.h"
#include "console/support/recording_surface.h"
#include "console/text_store.h"

namespace console::test {

inline constexpr int kCellWidth = 8;
inline constexpr int kCellHeight = 16;

class IoWindowTest : public ::testing::Test {
 protected:
  IoWindowTest();

  // Client area of whole cells.
  void resize_to(int columns, int rows);
  void type(std::string_view characters);
  void write_lines(int count, std::string_view text = "line");
  std::string line(int k) const { return std::string(store.line_text(k)); }
  std::string input_line() const { return line(store.line_count()); }

  TextStore store;
  RecordingSurface surface;
  IoWindow window{store, surface};
  IoView& view = window.view;
};

}  // namespace console::test
