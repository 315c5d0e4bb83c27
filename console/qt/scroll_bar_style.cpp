#include "console/qt/scroll_bar_style.h"

#include <QScrollBar>
#include <QStyleOptionSlider>

namespace console::qt {

void ScrollBarStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                        QPainter* painter, const QWidget* widget) const {
  const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
  if (control != CC_ScrollBar || bar == nullptr) {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    return;
  }
  // The handle is drawn last, over the rest, from a palette of its own.
  QStyleOptionSlider rest = *bar;
  rest.subControls &= ~SC_ScrollBarSlider;
  QProxyStyle::drawComplexControl(control, &rest, painter, widget);
  if (!(bar->subControls & SC_ScrollBarSlider)) return;
  QStyleOptionSlider handle = *bar;
  handle.subControls = SC_ScrollBarSlider;
  handle.palette.setColor(QPalette::Button, bar->palette.color(QPalette::Mid));
  QProxyStyle::drawComplexControl(control, &handle, painter, widget);
}

void set_contrasting_handle(QScrollBar& bar) {
  // One for all bars, kept to the end of the process: a bar must never
  // outlive its style.
  static ScrollBarStyle* const style = new ScrollBarStyle;
  bar.setStyle(style);
}

}  // namespace console::qt
