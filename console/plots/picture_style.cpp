#include "console/plots/picture_style.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace console::plots {

QFont picture_font(const QRectF& area) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  double side = std::min(area.width(), area.height());
  font.setPixelSize(std::max(9, static_cast<int>(std::lround(side / 50.0))));
  return font;
}

QFont title_font(const QFont& font) {
  QFont title = font;
  title.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * 1.25)));
  title.setBold(true);
  return title;
}

namespace {

int label_step(int count, double per_item, double spacing) {
  for (long long decade = 1;; decade *= 10) {
    for (long long factor : {1, 2, 5}) {
      long long step = factor * decade;
      if (per_item * static_cast<double>(step) >= spacing || step >= count) return static_cast<int>(step);
    }
  }
}

}  // namespace

std::vector<int> labelled_positions(int count, double length, double spacing) {
  std::vector<int> positions;
  if (count <= 0) return positions;
  int step = label_step(count, length / count, spacing);
  // Counted from the last, the level of fewest clusters, where the
  // partitions are coarse enough to matter most.
  for (int p = count; p >= 1; p -= step) positions.insert(positions.begin(), p);
  return positions;
}

Ticks nice_ticks(double low, double high, int at_most) {
  Ticks ticks;
  if (!std::isfinite(low) || !std::isfinite(high) || high < low) return ticks;
  if (high == low) {
    ticks.values.push_back(low);
    return ticks;
  }
  double rough = (high - low) / std::max(1, at_most - 1);
  double power = std::pow(10.0, std::floor(std::log10(rough)));
  double step = power * 10.0;
  for (double factor : {1.0, 2.0, 2.5, 5.0}) {
    if (factor * power >= rough * (1.0 - 1e-9)) {
      step = factor * power;
      break;
    }
  }
  ticks.step = step;
  // A tick a hair outside the range by rounding still belongs to it.
  double slack = step * 1e-9;
  for (double t = std::ceil((low - slack) / step) * step; t <= high + slack; t += step) {
    ticks.values.push_back(std::abs(t) < slack ? 0.0 : t);
  }
  return ticks;
}

QString tick_text(double value, double step) {
  constexpr int kMostDecimals = 6;
  int decimals = 0;
  if (step <= 0.0) decimals = kMostDecimals;
  for (double scaled = step; decimals < kMostDecimals && std::abs(scaled - std::round(scaled)) > 1e-6 * scaled;
       scaled *= 10.0) {
    ++decimals;
  }
  return QString::number(value, 'f', decimals);
}

QString value_text(float value) { return QString::number(static_cast<double>(value), 'f', 5); }

void draw_centred_text(QPainter& painter, QPointF centre, const QString& text, bool upright) {
  QFontMetricsF metrics(painter.font(), painter.device());
  double width = metrics.horizontalAdvance(text);
  painter.save();
  painter.translate(centre);
  if (upright) painter.rotate(-90.0);
  painter.drawText(QPointF(-width / 2.0, (metrics.ascent() - metrics.descent()) / 2.0), text);
  painter.restore();
}

}  // namespace console::plots
