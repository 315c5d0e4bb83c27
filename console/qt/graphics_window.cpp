#include "console/qt/graphics_window.h"

#include <QMdiSubWindow>
#include <QPainter>
#include <new>
#include <string>

#include "console/qt/body_thread.h"
#include "console/qt/frame_window.h"

namespace console::qt {

namespace {

constexpr QPoint kGraphicsPlace{15, 15};
constexpr int kDefaultWidth = 600;
constexpr int kDefaultHeight = 300;
constexpr std::size_t kLongestTitle = 79;

// Logical units per inch of the fixed-size mapping modes 2 to 6.
double units_per_inch(int map_mode) {
  switch (map_mode) {
    case 2: return 254.0;    // 0.1 mm
    case 3: return 2540.0;   // 0.01 mm
    case 4: return 100.0;    // 0.01 inch
    case 5: return 1000.0;   // 0.001 inch
    case 6: return 1440.0;   // twips
    default: return 0.0;
  }
}

QString window_title(const char* title, int title_length) {
  std::string_view given = title != nullptr && title_length > 0 ? std::string_view(title, static_cast<std::size_t>(title_length))
                                                                : std::string_view();
  if (given.empty() || given.front() == '\0') return QStringLiteral("Graphics");
  std::size_t end = given.find_last_not_of(' ');
  if (end == std::string_view::npos) return QStringLiteral("Graphics");
  given = given.substr(0, std::min(end + 1, kLongestTitle));
  return QString::fromLatin1(given.data(), static_cast<qsizetype>(given.size()));
}

}  // namespace

void apply_map_mode(QPainter& painter, int map_mode, double dpi_x, double dpi_y) {
  double per_inch = units_per_inch(map_mode);
  painter.resetTransform();
  if (per_inch > 0.0) painter.scale(dpi_x / per_inch, -dpi_y / per_inch);
}

int open_graphics_window(ConsoleState& state, int& width, int& height, const char* title, const int& map_mode,
                         PaintRoutine paint_routine, int title_length) {
  if (body_thread_calling(state) != nullptr) {
    int result = 0;
    on_window_thread(state, [&] {
      result = open_graphics_window(state, width, height, title, map_mode, std::move(paint_routine), title_length);
    });
    return result;
  }
  if (state.graphics_window != nullptr || state.frame_window == nullptr) return 0;
  state.paint_routine = std::move(paint_routine);
  state.map_mode = map_mode >= 2 && map_mode <= kMapAnisotropic ? map_mode : kMapText;
  if (width == 0 || height == 0) {
    width = kDefaultWidth;
    height = kDefaultHeight;
  }
  GraphicsWidget* contents;
  try {
    contents = new GraphicsWidget(state);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  QMdiSubWindow* child = state.frame_window->open_child_window(contents, window_title(title, title_length),
                                                               QRect(kGraphicsPlace, QSize(width, height)));
  state.graphics_window = child;
  return child != nullptr ? 1 : 0;
}

GraphicsWidget::GraphicsWidget(const ConsoleState& state) : state_(state) {
  setAutoFillBackground(true);
  setPalette(QPalette(Qt::white));
}

void GraphicsWidget::paintEvent(QPaintEvent* event) {
  if (!state_.paint_routine) {
    QWidget::paintEvent(event);
    return;
  }
  QPainter painter(this);
  apply_map_mode(painter, state_.map_mode, logicalDpiX(), logicalDpiY());
  QPainter* device = &painter;
  state_.paint_routine(device);
}

}  // namespace console::qt
