#include "console/support/io_window_fixture.h"

#include "console/io_line_editor.h"

namespace console::test {

IoWindowTest::IoWindowTest() {
  create_io_window(window, kCellWidth, kCellHeight);
  resize_to(80, 20);
  surface.forget();
}

void IoWindowTest::resize_to(int columns, int rows) {
  // A few pixels of a partial cell must not count as a cell.
  resize_io_window(window, columns * kCellWidth + kCellWidth - 1, rows * kCellHeight + kCellHeight - 1);
}

void IoWindowTest::type(std::string_view characters) {
  for (char c : characters) type_char(window, static_cast<unsigned char>(c));
}

void IoWindowTest::write_lines(int count, std::string_view text) {
  for (int i = 0; i < count; ++i) show_output_line(window, text);
}

}  // namespace console::test
