#include "console/plots/agreement_plot.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <unordered_map>

#include "console/plots/measure.h"
#include "console/plots/picture_style.h"

namespace console::plots {

namespace {

constexpr int kEuclidean = 3;
constexpr QRgb kFrameColour = 0xff404040u;
// Told apart by the colour-blind too.
constexpr std::array<QRgb, kTableMeasures> kLineColours = {0xffe69f00u, 0xff56b4e9u, 0xff009e73u, 0xffd55e00u,
                                                           0xffcc79a7u};
// Points are marked while they are few enough to be told apart.
constexpr std::size_t kMostMarkedPoints = 60;

struct Axis {
  double low = 0.0, high = 1.0;  // values
  double from = 0.0, to = 1.0;   // coordinates
  double map(double v) const { return high > low ? from + (v - low) / (high - low) * (to - from) : (from + to) / 2.0; }
};

struct Range {
  double low = std::numeric_limits<double>::infinity();
  double high = -std::numeric_limits<double>::infinity();
  void add(double v) {
    if (!std::isfinite(v)) return;
    low = std::min(low, v);
    high = std::max(high, v);
  }
  bool empty() const { return low > high; }
};

// The axis of a range from its round ticks, taking in 0 so that the
// dissimilarities are seen against perfect agreement.
Ticks axis_ticks(Range range, int at_most) {
  if (range.empty()) range = Range{0.0, 1.0};
  range.low = std::min(range.low, 0.0);
  if (range.high <= range.low) range.high = range.low + 1.0;
  Ticks ticks = nice_ticks(range.low, range.high, at_most);
  if (!ticks.values.empty() && ticks.values.back() < range.high) ticks.values.push_back(ticks.values.back() + ticks.step);
  return ticks;
}

struct PlotFrame {
  QRectF area;
  Axis x, left, right;
  Ticks x_ticks, left_ticks, right_ticks;
};

// Entries in rows that fit the width, under the title.
double draw_legend(QPainter& painter, const QRectF& band, double h, bool draw) {
  QFontMetricsF metrics(painter.font(), painter.device());
  double x = band.left(), y = band.top();
  for (int m = 1; m <= kTableMeasures; ++m) {
    QString text = agreement_line_label(m);
    double width = h * 2.2 + metrics.horizontalAdvance(text) + h * 1.2;
    if (x > band.left() && x + width > band.right()) {
      x = band.left();
      y += h * 1.3;
    }
    if (draw) {
      QPen pen(QColor::fromRgb(kLineColours[m - 1]), h * 0.18);
      if (m == kEuclidean) pen.setStyle(Qt::DashLine);
      painter.setPen(pen);
      double middle = y + h * 0.65;
      painter.drawLine(QPointF(x, middle), QPointF(x + h * 1.8, middle));
      painter.setPen(Qt::black);
      painter.drawText(QPointF(x + h * 2.2, middle + (metrics.ascent() - metrics.descent()) / 2.0), text);
    }
    x += width;
  }
  return y + h * 1.3 - band.top();
}

void draw_frame_and_ticks(QPainter& painter, const PlotFrame& frame, double h) {
  QFontMetricsF metrics(painter.font(), painter.device());
  const double tick = h * 0.3;
  const double middle = (metrics.ascent() - metrics.descent()) / 2.0;
  painter.setPen(QColor::fromRgb(kFrameColour));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(frame.area);
  for (double t : frame.x_ticks.values) {
    double x = frame.x.map(t);
    painter.drawLine(QPointF(x, frame.area.bottom()), QPointF(x, frame.area.bottom() + tick));
    draw_centred_text(painter, QPointF(x, frame.area.bottom() + tick + h * 0.6), tick_text(t, frame.x_ticks.step));
  }
  for (double t : frame.left_ticks.values) {
    double y = frame.left.map(t);
    QString text = tick_text(t, frame.left_ticks.step);
    painter.drawLine(QPointF(frame.area.left() - tick, y), QPointF(frame.area.left(), y));
    painter.drawText(QPointF(frame.area.left() - tick - h * 0.2 - metrics.horizontalAdvance(text), y + middle), text);
  }
  for (double t : frame.right_ticks.values) {
    double y = frame.right.map(t);
    painter.drawLine(QPointF(frame.area.right(), y), QPointF(frame.area.right() + tick, y));
    painter.drawText(QPointF(frame.area.right() + tick + h * 0.2, y + middle), tick_text(t, frame.right_ticks.step));
  }
}

void draw_line(QPainter& painter, const std::vector<QPointF>& points, int m, double h) {
  QPen pen(QColor::fromRgb(kLineColours[m - 1]), h * 0.18);
  if (m == kEuclidean) pen.setStyle(Qt::DashLine);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  QPainterPath path;
  bool open = false;
  for (const QPointF& p : points) {
    if (!std::isfinite(p.y())) {
      open = false;
      continue;
    }
    if (open) {
      path.lineTo(p);
    } else {
      path.moveTo(p);
      open = true;
    }
  }
  painter.drawPath(path);
  if (points.size() > kMostMarkedPoints) return;
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor::fromRgb(kLineColours[m - 1]));
  for (const QPointF& p : points) {
    if (std::isfinite(p.y())) painter.drawEllipse(p, h * 0.22, h * 0.22);
  }
}

}  // namespace

QString agreement_line_label(int m) { return QString::fromLatin1(measure_title(table_measure(m))); }

std::vector<EqualCount> equal_count_levels(const compare::ComparisonTables& tables) {
  std::unordered_map<int, int> level_of_count2;
  for (std::size_t l = 1; l <= tables.compared_columns() && l <= tables.cluster_counts2.size(); ++l) {
    int clusters = tables.cluster_counts2[l - 1];
    if (clusters > 0) level_of_count2.emplace(clusters, static_cast<int>(l));
  }
  std::vector<EqualCount> result;
  for (std::size_t k = 1; k <= tables.compared_rows() && k <= tables.cluster_counts1.size(); ++k) {
    int clusters = tables.cluster_counts1[k - 1];
    auto found = level_of_count2.find(clusters);
    if (clusters > 0 && found != level_of_count2.end()) result.push_back({clusters, static_cast<int>(k), found->second});
  }
  return result;
}

void draw_agreement_plot(QPainter& painter, const compare::ComparisonTables& tables, const QRectF& area) {
  QFont font = picture_font(area);
  QFontMetricsF metrics(font, painter.device());
  QFontMetricsF title_metrics(title_font(font), painter.device());
  const double h = metrics.height();
  const double margin = h * 0.8;
  painter.save();
  painter.fillRect(area, Qt::white);
  painter.setPen(Qt::black);
  painter.setFont(title_font(font));
  QRectF title(area.left(), area.top(), area.width(), title_metrics.height() + margin * 1.5);
  draw_centred_text(painter, title.center(), QString::fromLatin1(measure_title(Measure::agreement)));
  painter.setFont(font);

  std::vector<EqualCount> levels = equal_count_levels(tables);
  if (levels.empty()) {
    draw_centred_text(painter, area.center(), QStringLiteral("No level of the two dendrograms has the same number of clusters"));
    painter.restore();
    return;
  }
  Range counts, shares, distances;
  for (const EqualCount& e : levels) {
    counts.add(e.clusters);
    for (int m = 1; m <= kTableMeasures; ++m) (m == kEuclidean ? distances : shares).add(tables.value(m, e.k, e.l));
  }
  PlotFrame frame;
  frame.left_ticks = axis_ticks(shares, 6);
  frame.right_ticks = axis_ticks(distances, 6);
  // Cluster counts are whole: never a step below one.
  const double count_span = std::max(counts.high - counts.low, 1.0);
  frame.x_ticks = nice_ticks(counts.low, counts.low + count_span, static_cast<int>(std::min(8.0, count_span + 1.0)));
  auto widest_tick = [&](const Ticks& ticks) {
    double width = 0.0;
    for (double t : ticks.values) width = std::max(width, metrics.horizontalAdvance(tick_text(t, ticks.step)));
    return width;
  };
  double left = margin + h * 1.5 + widest_tick(frame.left_ticks) + h * 0.5;
  double right = margin + h * 1.5 + widest_tick(frame.right_ticks) + h * 0.5;
  QRectF legend_band(area.left() + left, title.bottom(), area.width() - left - right, 0.0);
  double legend_height = draw_legend(painter, legend_band, h, false);
  double top = title.bottom() + legend_height + h * 0.6;
  double bottom = area.bottom() - (h * 0.3 + h * 2.6 + margin);
  frame.area = QRectF(area.left() + left, top, std::max(1.0, legend_band.width()), std::max(1.0, bottom - top));
  frame.x = {counts.low, counts.low + count_span, frame.area.left(), frame.area.right()};
  frame.left = {frame.left_ticks.values.front(), frame.left_ticks.values.back(), frame.area.bottom(), frame.area.top()};
  frame.right = {frame.right_ticks.values.front(), frame.right_ticks.values.back(), frame.area.bottom(),
                 frame.area.top()};

  draw_legend(painter, legend_band, h, true);
  draw_frame_and_ticks(painter, frame, h);
  painter.setPen(Qt::black);
  draw_centred_text(painter, QPointF(frame.area.center().x(), frame.area.bottom() + h * 2.2),
                    QStringLiteral("clusters in both dendrograms"));
  draw_centred_text(painter, QPointF(area.left() + margin + h * 0.5, frame.area.center().y()),
                    QStringLiteral("dissimilarity"), true);
  draw_centred_text(painter, QPointF(area.right() - margin - h * 0.5, frame.area.center().y()),
                    QStringLiteral("Euclidean"), true);

  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setClipRect(frame.area.adjusted(-h, -h, h, h));
  for (int m = 1; m <= kTableMeasures; ++m) {
    const Axis& y = m == kEuclidean ? frame.right : frame.left;
    std::vector<QPointF> points;
    for (const EqualCount& e : levels) {
      float v = tables.value(m, e.k, e.l);
      points.emplace_back(frame.x.map(e.clusters),
                          std::isfinite(v) ? y.map(v) : std::numeric_limits<double>::quiet_NaN());
    }
    draw_line(painter, points, m, h);
  }
  painter.restore();
}

}  // namespace console::plots
