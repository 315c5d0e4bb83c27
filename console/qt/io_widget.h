#pragma once
// The Input/Output window on Qt: a scroll area whose viewport shows the
// text store in the fixed-pitch font, with the line editor's caret. Qt's
// events are handed to the window-free handlers of console/, and their
// effects on the window come back through the IoSurface calls below.
#include <QAbstractScrollArea>
#include <QFont>
#include <QPoint>

#include "console/io_surface.h"
#include "console/io_window.h"
#include "console/qt/console_state.h"

class QPainter;

namespace console::qt {

class IoWidget : public QAbstractScrollArea, public console::IoSurface {
  Q_OBJECT

 public:
  // The state's text store is what the window shows; it must exist.
  explicit IoWidget(ConsoleState& state, QWidget* parent = nullptr);

  console::IoWindow& window() { return window_; }
  const console::IoWindow& window() const { return window_; }

  // IoSurface
  void invalidate(console::PixelRect rect, bool erase) override;
  void scroll_client(int dx, int dy) override;
  void set_scroll_range(console::ScrollBar bar, int max, bool redraw) override;
  void set_scroll_position(console::ScrollBar bar, int position, bool redraw) override;
  void repaint_now() override;
  void draw_text(int x, int y, std::string_view text, console::TextColours colours) override;
  void draw_char_now(int x, int y, char character) override;
  void place_caret(int x, int y) override;
  void show_caret() override;
  void hide_caret() override;
  void set_edit_items_enabled(bool enabled) override;
  void text_changed() override;

  // The caret's cell in viewport pixels, and whether it is drawn: only
  // while the window has the focus and nothing hides it.
  QRect caret_rect() const;
  bool caret_visible() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  // The handlers move the viewport's pixels themselves.
  void scrollContentsBy(int dx, int dy) override;
  // Tab is typed, not a move to the next widget.
  bool focusNextPrevChild(bool next) override;

 private:
  void vertical_action(int action);
  void horizontal_action(int action);
  void type_key_text(const QKeyEvent& event);
  void update_caret();

  ConsoleState& state_;
  console::IoWindow window_;
  QFont font_;
  int ascent_ = 0;
  QPainter* painter_ = nullptr;  // while painting
  QPoint caret_;
  bool caret_exists_ = false;  // while the window has the focus
  int caret_hide_level_ = 0;
};

}  // namespace console::qt
