#include "console/qt/io_widget.h"

#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "console/io_line_editor.h"
#include "console/io_painting.h"
#include "console/io_scrolling.h"
#include "console/io_selection.h"
#include "console/qt/frame_menu.h"
#include "console/qt/scroll_bar_style.h"

namespace console::qt {

namespace {

constexpr int kControlA = 1;
constexpr int kEscape = 27;
constexpr int kWheelLinesPerNotch = 3;
constexpr int kWheelNotch = 120;

// The shortcut codes of Undo, Cut, Copy and Paste. An enabled item takes
// its shortcut before the key gets here; a grayed one swallows it, so the
// key types nothing either.
bool is_accelerator_code(int code) { return code == 26 || code == 24 || code == 3 || code == 22; }

console::Key key_of(int qt_key) {
  switch (qt_key) {
    case Qt::Key_Home: return console::Key::home;
    case Qt::Key_End: return console::Key::end;
    case Qt::Key_PageUp: return console::Key::page_up;
    case Qt::Key_PageDown: return console::Key::page_down;
    case Qt::Key_Up: return console::Key::up;
    case Qt::Key_Down: return console::Key::down;
    case Qt::Key_Left: return console::Key::left;
    case Qt::Key_Right: return console::Key::right;
    case Qt::Key_Insert: return console::Key::insert;
    case Qt::Key_Delete: return console::Key::del;
    default: return console::Key::other;
  }
}

// The character code a key stands for when it is not plain text; -1 when
// the key's text decides, 0 when the key types nothing.
int control_code_of(const QKeyEvent& event) {
  int key = event.key();
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return console::kEnter;
    case Qt::Key_Backspace: return console::kBackspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return console::kTab;
    case Qt::Key_Escape: return kEscape;
    default: break;
  }
  Qt::KeyboardModifiers modifiers = event.modifiers();
  // Alt combinations belong to the menu bar's mnemonics.
  if (modifiers & (Qt::AltModifier | Qt::MetaModifier)) return 0;
  if (modifiers & Qt::ControlModifier) {
    return key >= Qt::Key_A && key <= Qt::Key_Z ? key - Qt::Key_A + kControlA : 0;
  }
  return -1;
}

// Stored bytes are Latin-1; a character beyond it cannot be kept as one byte.
int byte_of(QChar character) { return character.unicode() < 256 ? character.unicode() : '?'; }

}  // namespace

IoWidget::IoWidget(ConsoleState& state, QWidget* parent)
    : QAbstractScrollArea(parent),
      state_(state),
      window_(*state.text_store, *this),
      font_(QFontDatabase::systemFont(QFontDatabase::FixedFont)) {
  QFontMetrics metrics(font_);
  int char_width = std::max(metrics.averageCharWidth(), 1);
  // Whole lines are drawn in one call, so every glyph must advance by
  // exactly one cell for the caret and the selection to line up.
  qreal advance = QFontMetricsF(font_).horizontalAdvance(QLatin1Char('0'));
  if (advance != char_width) font_.setLetterSpacing(QFont::AbsoluteSpacing, char_width - advance);
  ascent_ = metrics.ascent();
  console::create_io_window(window_, char_width, metrics.height());

  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setFocusProxy(this);
  for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
    bar->setRange(0, 0);
    set_contrasting_handle(*bar);
  }
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &IoWidget::vertical_action);
  connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this, &IoWidget::horizontal_action);
  connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, [this] {
    console::scroll_vertically(window_, console::VerticalRequest::thumb_position, verticalScrollBar()->sliderPosition());
    verticalScrollBar()->setValue(window_.view.first_line);
  });
  connect(horizontalScrollBar(), &QScrollBar::sliderReleased, this,
          [this] { horizontalScrollBar()->setValue(window_.view.first_column); });
}

void IoWidget::vertical_action(int action) {
  using console::VerticalRequest;
  VerticalRequest request = VerticalRequest::other;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: request = VerticalRequest::line_up; break;
    case QAbstractSlider::SliderSingleStepAdd: request = VerticalRequest::line_down; break;
    case QAbstractSlider::SliderPageStepSub: request = VerticalRequest::page_up; break;
    case QAbstractSlider::SliderPageStepAdd: request = VerticalRequest::page_down; break;
    case QAbstractSlider::SliderToMinimum: request = VerticalRequest::top; break;
    case QAbstractSlider::SliderToMaximum: request = VerticalRequest::bottom; break;
    // While the thumb is dragged it moves alone; the text follows on release.
    case QAbstractSlider::SliderMove: return;
    default: break;
  }
  console::scroll_vertically(window_, request);
  verticalScrollBar()->setSliderPosition(window_.view.first_line);
}

void IoWidget::horizontal_action(int action) {
  using console::HorizontalRequest;
  HorizontalRequest request = HorizontalRequest::other;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: request = HorizontalRequest::column_left; break;
    case QAbstractSlider::SliderSingleStepAdd: request = HorizontalRequest::column_right; break;
    case QAbstractSlider::SliderPageStepSub: request = HorizontalRequest::page_left; break;
    case QAbstractSlider::SliderPageStepAdd: request = HorizontalRequest::page_right; break;
    case QAbstractSlider::SliderToMinimum: request = HorizontalRequest::left_end; break;
    case QAbstractSlider::SliderMove: request = HorizontalRequest::thumb_track; break;
    default: break;
  }
  console::scroll_horizontally(window_, request, horizontalScrollBar()->sliderPosition());
  horizontalScrollBar()->setSliderPosition(window_.view.first_column);
}

void IoWidget::invalidate(console::PixelRect rect, bool) {
  viewport()->update(QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)));
}

void IoWidget::scroll_client(int dx, int dy) {
  QRect caret_before = caret_rect();
  viewport()->scroll(dx, dy);
  // The caret is painted into the pixels; its moved image must not stay.
  viewport()->update(caret_before.translated(dx, dy));
}

void IoWidget::set_scroll_range(console::ScrollBar bar, int max, bool) {
  (bar == console::ScrollBar::vertical ? verticalScrollBar() : horizontalScrollBar())->setRange(0, max);
}

void IoWidget::set_scroll_position(console::ScrollBar bar, int position, bool) {
  (bar == console::ScrollBar::vertical ? verticalScrollBar() : horizontalScrollBar())->setValue(position);
}

void IoWidget::repaint_now() { viewport()->repaint(); }

void IoWidget::draw_text(int x, int y, std::string_view text, console::TextColours colours) {
  if (painter_ == nullptr || text.empty()) return;
  const console::IoView& view = window_.view;
  QString line = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  if (colours == console::TextColours::selected) {
    painter_->fillRect(x, y, static_cast<int>(text.size()) * view.char_width, view.char_height, QColor(0, 0, 255));
    painter_->setPen(QColor(255, 255, 255));
  } else {
    painter_->setPen(Qt::black);
  }
  painter_->drawText(x, y + ascent_, line);
}

// Painting happens only in a paint event; the character is in the store by
// then, so asking for its cell at once draws it.
void IoWidget::draw_char_now(int x, int y, char) {
  viewport()->update(x, y, window_.view.char_width, window_.view.char_height);
}

void IoWidget::place_caret(int x, int y) {
  if (caret_ == QPoint(x, y)) return;
  update_caret();
  caret_ = QPoint(x, y);
  update_caret();
}

void IoWidget::show_caret() {
  if (caret_hide_level_ == 0) return;
  --caret_hide_level_;
  update_caret();
}

void IoWidget::hide_caret() {
  ++caret_hide_level_;
  update_caret();
}

void IoWidget::set_edit_items_enabled(bool enabled) {
  for (int id : {kCut, kCopy, kDelete}) set_command_enabled(state_.main_menu, id, enabled);
}

void IoWidget::text_changed() { state_.text_unchanged = 0; }

QRect IoWidget::caret_rect() const {
  return {caret_, QSize(window_.view.char_width, window_.view.char_height)};
}

void IoWidget::update_caret() { viewport()->update(caret_rect()); }

bool IoWidget::caret_visible() const { return caret_exists_ && caret_hide_level_ == 0; }

void IoWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  QRect area = event->rect();
  painter.fillRect(area, Qt::white);
  painter.setFont(font_);
  painter_ = &painter;
  console::paint(window_, {area.left(), area.top(), area.right() + 1, area.bottom() + 1});
  painter_ = nullptr;
  if (caret_visible()) {
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(caret_rect(), Qt::white);
  }
}

void IoWidget::resizeEvent(QResizeEvent*) {
  console::resize_io_window(window_, viewport()->width(), viewport()->height());
  verticalScrollBar()->setPageStep(std::max(window_.view.rows, 1));
  horizontalScrollBar()->setPageStep(std::max(window_.view.columns, 1));
}

void IoWidget::keyPressEvent(QKeyEvent* event) {
  console::Key key = key_of(event->key());
  if (key != console::Key::other) {
    console::key_down(window_, key);
    return;
  }
  int code = control_code_of(*event);
  if (code < 0) {
    type_key_text(*event);
  } else if (code > 0 && !is_accelerator_code(code)) {
    console::type_char(window_, code);
  }
}

void IoWidget::type_key_text(const QKeyEvent& event) {
  for (QChar character : event.text()) {
    if (!character.isNull()) console::type_char(window_, byte_of(character));
  }
}

void IoWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) console::left_button_down(window_);
}

void IoWidget::mouseMoveEvent(QMouseEvent* event) {
  QPoint at = event->position().toPoint();
  console::mouse_move(window_, at.x(), at.y(), (event->buttons() & Qt::LeftButton) != 0);
}

void IoWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) console::left_button_up(window_);
}

void IoWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  QPoint at = event->position().toPoint();
  console::left_double_click(window_, at.x(), at.y());
}

// The wheel scrolls as the line requests of the vertical bar do.
void IoWidget::wheelEvent(QWheelEvent* event) {
  int notches = event->angleDelta().y() * kWheelLinesPerNotch / kWheelNotch;
  auto request = notches > 0 ? console::VerticalRequest::line_up : console::VerticalRequest::line_down;
  for (int i = std::abs(notches); i > 0; --i) console::scroll_vertically(window_, request);
  event->accept();
}

void IoWidget::focusInEvent(QFocusEvent*) {
  caret_exists_ = true;
  caret_hide_level_ = 0;
  console::place_caret(window_);
  update_caret();
}

void IoWidget::focusOutEvent(QFocusEvent*) {
  caret_exists_ = false;
  update_caret();
}

void IoWidget::scrollContentsBy(int, int) {}

bool IoWidget::focusNextPrevChild(bool) { return false; }

}  // namespace console::qt
