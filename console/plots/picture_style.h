#pragma once
// What every picture shares: its font, grown with the picture so that a
// window, a file and a printed page read alike; the choice of axis labels
// that do not overlap; and the text of values.
#include <QFont>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

namespace console::plots {

// The font for a picture filling area: about a fiftieth of its smaller
// side, in the area's own units, never below 9 of them.
QFont picture_font(const QRectF& area);
QFont title_font(const QFont& font);

// Positions 1..count to label when count items share `length` units and
// labels need `spacing` units each: every s-th back from the last, s the
// smallest of 1, 2, 5, 10, 20, 50, ... that keeps them apart; ascending.
std::vector<int> labelled_positions(int count, double length, double spacing);

// Round values from low to high for an axis, at most about `at_most` of
// them, a step of 1, 2, 2.5 or 5 times a power of ten.
struct Ticks {
  std::vector<double> values;
  double step = 0.0;
};
Ticks nice_ticks(double low, double high, int at_most);
// A tick value with as many decimals as its step needs (at most 6).
QString tick_text(double value, double step);

// A value of a table as the minimum report gives it: five decimals.
QString value_text(float value);

// Text centred on a point, optionally turned a quarter anticlockwise.
void draw_centred_text(QPainter& painter, QPointF centre, const QString& text, bool upright = false);

}  // namespace console::plots
