#include "console/plots/bk_plot.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "console/plots/measure.h"
#include "console/plots/picture_style.h"

namespace console::plots {
namespace {

constexpr QRgb kFrameColour = 0xff404040u, kCurveColour = 0xff0072b2u, kExpectedColour = 0xffd55e00u,
               kBandColour = 0x40d55e00u;

struct Scale {
  double low, high, from, to;
  double map(double v) const { return high > low ? from + (v - low) / (high - low) * (to - from) : (from + to) / 2; }
};

double spread(const compare::BkPoint& p) { return kBkBandDeviations * std::sqrt(std::max(0.0, p.variance)); }

QPainterPath line_through(const std::vector<QPointF>& points) {
  QPainterPath path;
  for (std::size_t i = 0; i < points.size(); ++i) i == 0 ? path.moveTo(points[i]) : path.lineTo(points[i]);
  return path;
}

void draw_axes(QPainter& painter, const QRectF& frame, const Scale& x, const Ticks& x_ticks, const Scale& y,
               const Ticks& y_ticks, double h) {
  QFontMetricsF metrics(painter.font(), painter.device());
  painter.setPen(QColor::fromRgb(kFrameColour));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(frame);
  for (double t : x_ticks.values) {
    painter.drawLine(QPointF(x.map(t), frame.bottom()), QPointF(x.map(t), frame.bottom() + h * 0.3));
    draw_centred_text(painter, QPointF(x.map(t), frame.bottom() + h * 0.9), tick_text(t, x_ticks.step));
  }
  for (double t : y_ticks.values) {
    const QString text = tick_text(t, y_ticks.step);
    painter.drawLine(QPointF(frame.left() - h * 0.3, y.map(t)), QPointF(frame.left(), y.map(t)));
    painter.drawText(QPointF(frame.left() - h * 0.5 - metrics.horizontalAdvance(text),
                             y.map(t) + (metrics.ascent() - metrics.descent()) / 2),
                     text);
  }
}

}  // namespace

void draw_bk_plot(QPainter& painter, const std::vector<compare::BkPoint>& curve, const QRectF& area) {
  const QFont font = picture_font(area);
  const double h = QFontMetricsF(font, painter.device()).height();
  painter.save();
  painter.fillRect(area, Qt::white);
  painter.setPen(Qt::black);
  painter.setFont(title_font(font));
  draw_centred_text(painter, QPointF(area.center().x(), area.top() + h * 1.5), QString::fromLatin1(measure_title(Measure::bk)));
  painter.setFont(font);
  if (curve.empty()) {
    draw_centred_text(painter, area.center(), QStringLiteral("No number of clusters is in both dendrograms"));
    painter.restore();
    return;
  }
  double k_low = curve.front().k, k_high = std::max<double>(curve.back().k, k_low + 1), y_high = 0;
  for (const compare::BkPoint& p : curve) y_high = std::max({y_high, p.bk, p.expected + spread(p)});
  const Ticks x_ticks = nice_ticks(k_low, k_high, 8), y_ticks = nice_ticks(0.0, std::min(1.0, std::max(y_high, 0.1)), 6);
  const QRectF frame(area.left() + h * 5, area.top() + h * 3.5, area.width() - h * 6.5, area.height() - h * 7);
  const Scale x{k_low, k_high, frame.left(), frame.right()};
  const Scale y{y_ticks.values.front(), y_ticks.values.back(), frame.bottom(), frame.top()};
  draw_axes(painter, frame, x, x_ticks, y, y_ticks, h);
  painter.setPen(Qt::black);
  draw_centred_text(painter, QPointF(frame.center().x(), frame.bottom() + h * 2.2), QStringLiteral("k, clusters in both dendrograms"));
  draw_centred_text(painter, QPointF(area.left() + h * 1.2, frame.center().y()), QStringLiteral("Bk"), true);

  std::vector<QPointF> upper, lower, expected, bk;
  for (const compare::BkPoint& p : curve) {
    upper.emplace_back(x.map(p.k), y.map(std::min(y.high, p.expected + spread(p))));
    lower.emplace_back(x.map(p.k), y.map(std::max(y.low, p.expected - spread(p))));
    expected.emplace_back(x.map(p.k), y.map(p.expected));
    bk.emplace_back(x.map(p.k), y.map(p.bk));
  }
  painter.setRenderHint(QPainter::Antialiasing, true);
  QPainterPath band = line_through(upper);
  for (auto at = lower.rbegin(); at != lower.rend(); ++at) band.lineTo(*at);
  band.closeSubpath();
  painter.fillPath(band, QColor::fromRgba(kBandColour));
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor::fromRgb(kExpectedColour), h * 0.15, Qt::DashLine));
  painter.drawPath(line_through(expected));
  painter.setPen(QPen(QColor::fromRgb(kCurveColour), h * 0.2));
  painter.drawPath(line_through(bk));
  painter.restore();
}

}  // namespace console::plots
