#pragma once
// Scroll bars whose handle stands out from its groove: the application's
// style draws them, but the handle in the palette's mid tone, darker than
// the groove, where some styles draw it almost as light as the groove.
#include <QProxyStyle>

class QScrollBar;

namespace console::qt {

class ScrollBarStyle : public QProxyStyle {
 public:
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget = nullptr) const override;
};

// Gives the bar that look.
void set_contrasting_handle(QScrollBar& bar);

}  // namespace console::qt
