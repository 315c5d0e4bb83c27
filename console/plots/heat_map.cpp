#include "console/plots/heat_map.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "console/plots/picture_style.h"

namespace console::plots {

namespace {

constexpr QRgb kFrameColour = 0xff404040u;
// Cells this many device pixels wide and high or more are drawn one by one;
// smaller ones a pixel at a time.
constexpr double kSmallestDrawnCell = 2.0;
constexpr int kColourBarTicks = 6;

double widest(const QFontMetricsF& metrics, const std::vector<QString>& texts) {
  double width = 0.0;
  for (const QString& text : texts) width = std::max(width, metrics.horizontalAdvance(text));
  return width;
}

std::vector<QString> colour_bar_labels(const ValueScale& scale) {
  Ticks ticks = nice_ticks(scale.low(), scale.high(), kColourBarTicks);
  std::vector<QString> labels;
  for (double t : ticks.values) labels.push_back(tick_text(t, ticks.step));
  return labels;
}

// The widest cluster-count label of a side: its counts run down the levels,
// so the first is the widest, but a count of 0 (never set) may stand anywhere.
double widest_count(const QFontMetricsF& metrics, int count, auto clusters_of) {
  double width = metrics.horizontalAdvance(QStringLiteral("0"));
  for (int i = 1; i <= count; ++i) width = std::max(width, metrics.horizontalAdvance(QString::number(clusters_of(i))));
  return width;
}

// The edges between count cells over [start, start + length], each on a
// whole unit and computed once for the two cells it divides: neighbours
// meet exactly, and at the picture's own size on a pixel boundary.
std::vector<double> cell_edges(double start, double length, int count) {
  std::vector<double> edges(static_cast<std::size_t>(count) + 1);
  for (int i = 0; i <= count; ++i) edges[static_cast<std::size_t>(i)] = std::round(start + length * i / count);
  return edges;
}

// Each cell is painted on to the far edge of the next one, which then
// paints over the overlap: a renderer that scales the picture and smooths
// the edges blends two cells there, never a cell with the white ground.
void draw_cells_one_by_one(QPainter& painter, const HeatTable& table, const HeatMapLayout& layout,
                           const ValueScale& scale) {
  const std::vector<double> xs = cell_edges(layout.cells.left(), layout.cells.width(), table.columns());
  const std::vector<double> ys = cell_edges(layout.cells.top(), layout.cells.height(), table.rows());
  const auto far_edge = [](const std::vector<double>& edges, int i) {
    return edges[std::min(static_cast<std::size_t>(i) + 1, edges.size() - 1)];
  };
  for (int k = 1; k <= table.rows(); ++k) {
    for (int l = 1; l <= table.columns(); ++l) {
      QRectF cell(QPointF(xs[static_cast<std::size_t>(l - 1)], ys[static_cast<std::size_t>(k - 1)]),
                  QPointF(far_edge(xs, l), far_edge(ys, k)));
      painter.fillRect(cell, QColor::fromRgb(scale.colour(table.value(k, l))));
    }
  }
}

void draw_cells(QPainter& painter, const HeatTable& table, const HeatMapLayout& layout, const ValueScale& scale) {
  QRectF device_cells = painter.deviceTransform().mapRect(layout.cells);
  double cell_width = device_cells.width() / table.columns();
  double cell_height = device_cells.height() / table.rows();
  if (cell_width >= kSmallestDrawnCell && cell_height >= kSmallestDrawnCell) {
    draw_cells_one_by_one(painter, table, layout, scale);
    return;
  }
  QSize pixels(std::clamp(static_cast<int>(std::ceil(device_cells.width())), 1, table.columns()),
               std::clamp(static_cast<int>(std::ceil(device_cells.height())), 1, table.rows()));
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(layout.cells, heat_image(table, pixels, scale));
  painter.restore();
}

void draw_axes(QPainter& painter, const HeatTable& table, const HeatMapLayout& layout) {
  const double h = layout.line_height;
  const double tick = h * 0.3;
  QFontMetricsF metrics(painter.font(), painter.device());
  painter.setPen(QColor::fromRgb(kFrameColour));
  for (int k : layout.labelled_rows) {
    double y = layout.cell_rect({k, 1}).center().y();
    painter.drawLine(QPointF(layout.cells.left() - tick, y), QPointF(layout.cells.left(), y));
    QString text = QString::number(table.row_clusters(k));
    double x = layout.cells.left() - tick - h * 0.2 - metrics.horizontalAdvance(text);
    painter.drawText(QPointF(x, y + (metrics.ascent() - metrics.descent()) / 2.0), text);
  }
  for (int l : layout.labelled_columns) {
    double x = layout.cell_rect({1, l}).center().x();
    painter.drawLine(QPointF(x, layout.cells.bottom()), QPointF(x, layout.cells.bottom() + tick));
    draw_centred_text(painter, QPointF(x, layout.cells.bottom() + tick + h * 0.6), QString::number(table.column_clusters(l)));
  }
  double row_labels = widest_count(metrics, table.rows(), [&](int k) { return table.row_clusters(k); });
  draw_centred_text(painter, QPointF(layout.cells.left() - tick - h * 0.2 - row_labels - h * 0.9, layout.cells.center().y()),
                    QString::fromLatin1(kRowAxisTitle), true);
  draw_centred_text(painter, QPointF(layout.cells.center().x(), layout.cells.bottom() + tick + h * 1.9),
                    QString::fromLatin1(kColumnAxisTitle));
}

void draw_colour_bar(QPainter& painter, const HeatMapLayout& layout, const ValueScale& scale) {
  const QRectF& bar = layout.colour_bar;
  QLinearGradient gradient(bar.bottomLeft(), bar.topLeft());
  constexpr int kStops = 16;
  for (int i = 0; i <= kStops; ++i) gradient.setColorAt(double(i) / kStops, QColor::fromRgb(viridis(double(i) / kStops)));
  painter.fillRect(bar, gradient);
  painter.setPen(QColor::fromRgb(kFrameColour));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(bar);
  Ticks ticks = nice_ticks(scale.low(), scale.high(), kColourBarTicks);
  QFontMetricsF metrics(painter.font(), painter.device());
  const double tick = layout.line_height * 0.3;
  for (double t : ticks.values) {
    double f = scale.high() > scale.low() ? (t - scale.low()) / (double(scale.high()) - scale.low()) : 0.0;
    double y = bar.bottom() - f * bar.height();
    painter.drawLine(QPointF(bar.right(), y), QPointF(bar.right() + tick, y));
    painter.drawText(QPointF(bar.right() + tick * 1.5, y + (metrics.ascent() - metrics.descent()) / 2.0),
                     tick_text(t, ticks.step));
  }
}

void draw_minimum(QPainter& painter, const HeatTable& table, const HeatMapLayout& layout, Cell cell) {
  const double h = layout.line_height;
  QRectF rect = layout.cell_rect(cell);
  QPointF centre = rect.center();
  double radius = std::clamp(std::min(rect.width(), rect.height()) * 0.3, h * 0.45, h * 1.2);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::black, h * 0.28));
  painter.drawEllipse(centre, radius, radius);
  painter.setPen(QPen(Qt::white, h * 0.13));
  painter.drawEllipse(centre, radius, radius);

  QString text = minimum_text(table, cell);
  QFontMetricsF metrics(painter.font(), painter.device());
  QSizeF box_size(metrics.horizontalAdvance(text) + h * 0.6, h * 1.3);
  double x = centre.x() + radius + h * 0.4;
  if (x + box_size.width() > layout.cells.right()) x = centre.x() - radius - h * 0.4 - box_size.width();
  x = std::max(x, layout.cells.left());
  double y = std::clamp(centre.y() - box_size.height() / 2.0, layout.cells.top(),
                        std::max(layout.cells.top(), layout.cells.bottom() - box_size.height()));
  QRectF box(QPointF(x, y), box_size);
  painter.setPen(QPen(QColor::fromRgb(kFrameColour), h * 0.06));
  painter.setBrush(QColor(255, 255, 255, 225));
  painter.drawRoundedRect(box, h * 0.2, h * 0.2);
  painter.setPen(Qt::black);
  draw_centred_text(painter, box.center(), text);
  painter.restore();
}

}  // namespace

QRectF HeatMapLayout::cell_rect(Cell cell) const {
  double width = cells.width() / columns;
  double height = cells.height() / rows;
  return {cells.left() + (cell.l - 1) * width, cells.top() + (cell.k - 1) * height, width, height};
}

std::optional<Cell> HeatMapLayout::cell_at(QPointF point) const {
  if (rows <= 0 || columns <= 0 || !cells.contains(point)) return std::nullopt;
  int l = static_cast<int>((point.x() - cells.left()) / cells.width() * columns) + 1;
  int k = static_cast<int>((point.y() - cells.top()) / cells.height() * rows) + 1;
  return Cell{std::clamp(k, 1, rows), std::clamp(l, 1, columns)};
}

HeatMapLayout lay_out_heat_map(const HeatTable& table, const QRectF& area, const QPaintDevice* device) {
  HeatMapLayout layout;
  layout.font = picture_font(area);
  layout.rows = table.rows();
  layout.columns = table.columns();
  QFontMetricsF metrics(layout.font, device);
  QFontMetricsF title_metrics(title_font(layout.font), device);
  const double h = metrics.height();
  layout.line_height = h;
  const double margin = h * 0.8;
  layout.title = QRectF(area.left(), area.top(), area.width(), title_metrics.height() + margin * 1.5);

  double row_labels = widest_count(metrics, table.rows(), [&](int k) { return table.row_clusters(k); });
  double bar_labels = widest(metrics, colour_bar_labels(table.scale()));
  double left = margin + h * 1.5 + row_labels + h * 0.5;
  double right = h * 1.2 + h * 1.1 + h * 0.5 + bar_labels + margin;
  double bottom = h * 0.3 + h * 2.6 + margin;
  QRectF cells(area.left() + left, layout.title.bottom(), area.width() - left - right,
               area.bottom() - bottom - layout.title.bottom());
  // On whole units, so that a table drawn a pixel at a time lands on the
  // device's pixels one to one and a cell's centre shows that cell's pixel.
  cells = QRectF(QPointF(std::ceil(cells.left()), std::ceil(cells.top())),
                 QPointF(std::floor(cells.right()), std::floor(cells.bottom())));
  cells.setWidth(std::max(1.0, cells.width()));
  cells.setHeight(std::max(1.0, cells.height()));
  layout.cells = cells;
  layout.colour_bar = QRectF(cells.right() + h * 1.2, cells.top(), h * 1.1, cells.height());

  double column_label = widest_count(metrics, table.columns(), [&](int l) { return table.column_clusters(l); });
  layout.labelled_rows = labelled_positions(table.rows(), cells.height(), h * 1.15);
  layout.labelled_columns = labelled_positions(table.columns(), cells.width(), column_label + h * 0.8);
  return layout;
}

QString minimum_text(const HeatTable& table, Cell cell) {
  return QStringLiteral("minimum %1 at %2 and %3 clusters")
      .arg(value_text(table.value(cell.k, cell.l)))
      .arg(table.row_clusters(cell.k))
      .arg(table.column_clusters(cell.l));
}

void draw_heat_map(QPainter& painter, const HeatTable& table, const QString& title, const QRectF& area) {
  HeatMapLayout layout = lay_out_heat_map(table, area, painter.device());
  painter.save();
  painter.fillRect(area, Qt::white);
  painter.setPen(Qt::black);
  painter.setFont(title_font(layout.font));
  draw_centred_text(painter, layout.title.center(), title);
  painter.setFont(layout.font);
  if (table.empty()) {
    draw_centred_text(painter, area.center(), QStringLiteral("No level pairs were compared"));
    painter.restore();
    return;
  }
  ValueScale scale = table.scale();
  draw_cells(painter, table, layout, scale);
  painter.setPen(QColor::fromRgb(kFrameColour));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(layout.cells);
  draw_axes(painter, table, layout);
  draw_colour_bar(painter, layout, scale);
  if (std::optional<Cell> minimum = table.minimum()) draw_minimum(painter, table, layout, *minimum);
  painter.restore();
}

}  // namespace console::plots
