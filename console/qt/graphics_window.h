#pragma once
// The one graphics window a program body may open: a child of the frame
// that the program paints through a routine of its own, under one of the
// eight mapping modes of logical units.
#include <QWidget>
#include <string_view>

#include "console/qt/console_state.h"

class QPainter;

namespace console::qt {

// Mapping modes: 1 text (pixels), 2 low metric (0.1 mm), 3 high metric
// (0.01 mm), 4 low English (0.01 inch), 5 high English (0.001 inch),
// 6 twips (1/1440 inch), 7 isotropic, 8 anisotropic. 2 to 6 have y growing
// upwards from the top-left corner; 7 and 8 start with unit extents, so
// they map as pixels until a program rescales the painter itself.
inline constexpr int kMapText = 1;
inline constexpr int kMapAnisotropic = 8;

// Sets the painter's transform for the mode on a device of the given
// logical resolution in dots per inch.
void apply_map_mode(QPainter& painter, int map_mode, double dpi_x, double dpi_y);

// Opens the graphics window in the frame of state: 1 if opened, 0 if not
// (only one per run, and not without a frame). A width or height of 0
// gives 600 x 300, written back; a map mode outside 2..8 is taken as 1; the
// title is "Graphics" unless title[0 .. title_length)
// holds something besides blanks, which is then used without its trailing
// blanks, at most 79 characters.
int open_graphics_window(ConsoleState& state, int& width, int& height, const char* title, const int& map_mode,
                         PaintRoutine paint_routine, int title_length);

// The window's contents: each paint calls the program's routine with the
// mapping applied; without a routine the default background stays.
class GraphicsWidget : public QWidget {
 public:
  explicit GraphicsWidget(const ConsoleState& state);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const ConsoleState& state_;
};

}  // namespace console::qt
