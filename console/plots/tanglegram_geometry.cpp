#include "console/plots/tanglegram_geometry.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "console/plots/picture_style.h"
#include "engine/tangle/shared_clusters.h"

namespace console::plots {
namespace {

constexpr double kLabelShare = 0.2;  // of the width, at most, for each side's labels

std::vector<double> evenly(std::size_t count, double top, double bottom) {
  std::vector<double> y(count);
  for (std::size_t i = 0; i < count; ++i) y[i] = top + (static_cast<double>(i) + 0.5) * (bottom - top) / count;
  return y;
}

// Each block's extent, as tall as its objects, with a small gap between.
void stack_blocks(const std::vector<int>& cluster, const std::vector<int>& order, int clusters, double top,
                    double bottom, std::vector<double>& tops, std::vector<double>& bottoms) {
  std::vector<int> sizes(static_cast<std::size_t>(clusters), 0);
  for (const int x : order) ++sizes[cluster[x]];
  const double gap = clusters > 1 ? std::min(3.0, 0.25 * (bottom - top) / (clusters - 1)) : 0.0;
  const double per_object = (bottom - top - gap * (clusters - 1)) / std::max<std::size_t>(order.size(), 1);
  tops.resize(sizes.size());
  bottoms.resize(sizes.size());
  double y = top;
  for (std::size_t c = 0; c < sizes.size(); ++c) {
    tops[c] = y;
    bottoms[c] = y + sizes[c] * per_object;
    y = bottoms[c] + gap;
  }
}

// The bands between the blocks, each block's share stacked in the order of
// the other side's blocks, so that bands cross only where the blocks do.
std::vector<Band> lay_out_bands(const compare::Tanglegram& t, const TanglegramGeometry& g) {
  const std::vector<compare::tangle::SharedCell> cells = compare::tangle::shared_cells(t.block1, t.block2);
  std::vector<Band> bands(cells.size());
  for (std::size_t i = 0; i < cells.size(); ++i) bands[i] = {cells[i].first, cells[i].second, cells[i].count};
  // A block lies within one cluster of each colour level, so one object
  // tells a band's colour and whether its objects moved.
  for (std::size_t x = 0; x < t.block1.size(); ++x) {
    const auto at = std::lower_bound(cells.begin(), cells.end(), std::pair{t.block1[x], t.block2[x]},
                                     [](const compare::tangle::SharedCell& cell, std::pair<int, int> key) {
                                       return std::pair{cell.first, cell.second} < key;
                                     });
    Band& band = bands[static_cast<std::size_t>(at - cells.begin())];
    band.cluster1 = t.cluster1[x];
    band.cluster2 = t.cluster2[x];
    band.kept = !t.moved[x];
  }
  std::vector<int> size1(g.block_top1.size(), 0), size2(g.block_top2.size(), 0);
  for (const Band& band : bands) size1[band.first] += band.count, size2[band.second] += band.count;
  std::vector<double> next1 = g.block_top1, next2 = g.block_top2;
  const auto share = [](double top, double bottom, int count, int size) { return (bottom - top) * count / size; };
  for (Band& band : bands) {  // ordered by first, then second
    band.left_top = next1[band.first];
    band.left_bottom = next1[band.first] +=
        share(g.block_top1[band.first], g.block_bottom1[band.first], band.count, size1[band.first]);
  }
  std::vector<std::size_t> by_second(bands.size());
  for (std::size_t i = 0; i < by_second.size(); ++i) by_second[i] = i;
  std::stable_sort(by_second.begin(), by_second.end(),
                   [&](std::size_t a, std::size_t b) { return bands[a].second < bands[b].second; });
  for (const std::size_t i : by_second) {
    Band& band = bands[i];
    band.right_top = next2[band.second];
    band.right_bottom = next2[band.second] +=
        share(g.block_top2[band.second], g.block_bottom2[band.second], band.count, size2[band.second]);
  }
  return bands;
}

double label_width(const std::vector<QString>& labels, std::size_t count, const QFontMetricsF& metrics) {
  double widest = 0;
  for (std::size_t x = 0; x < count; ++x) widest = std::max(widest, metrics.horizontalAdvance(object_label(labels, static_cast<int>(x))));
  return widest;
}

double distance_to_segment(QPointF p, QPointF a, QPointF b) {
  const QPointF d = b - a;
  const double length2 = QPointF::dotProduct(d, d);
  const double s = length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / length2, 0.0, 1.0) : 0.0;
  const QPointF nearest = a + s * d;
  return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}

}  // namespace

double TanglegramGeometry::x1(double height, double top) const {
  return top > 0 ? left_leaves - height / top * (left_leaves - left_root) : left_leaves;
}

double TanglegramGeometry::x2(double height, double top) const {
  return top > 0 ? right_leaves + height / top * (right_root - right_leaves) : right_leaves;
}

QString object_label(const std::vector<QString>& labels, int x) {
  return static_cast<std::size_t>(x) < labels.size() ? labels[x] : QString::number(x + 1);
}

TanglegramGeometry lay_out_tanglegram(const compare::Tanglegram& t, const std::vector<QString>& labels,
                                      const QRectF& area, const QPaintDevice* device) {
  TanglegramGeometry g;
  g.font = picture_font(area);
  g.line_height = QFontMetricsF(g.font, device).height();
  const double h = g.line_height;
  g.title = QRectF(area.left(), area.top(), area.width(), h * 3);
  g.top = area.top() + h * 3.5;
  g.bottom = area.bottom() - h * 3;
  g.axis_y = g.bottom + h * 0.8;
  const std::size_t n = t.order1.size();
  g.collapsed = !t.block1.empty();
  const double spacing = n > 0 ? (g.bottom - g.top) / n : 0;
  g.label_font = g.font;
  const int label_pixels = std::min(g.font.pixelSize(), static_cast<int>(std::floor(spacing * 0.9)));
  g.labelled = !g.collapsed && label_pixels >= 5;
  double labels_width = 0;
  if (g.labelled) {
    g.label_font.setPixelSize(label_pixels);
    labels_width = std::min(area.width() * kLabelShare, label_width(labels, n, QFontMetricsF(g.label_font, device)) + h * 0.5);
  }
  const double margin = h * 1.5, lines = area.width() * 0.16;
  const double tree_width = (area.width() - 2 * margin - 2 * labels_width - lines) / 2;
  g.left_root = area.left() + margin;
  g.left_leaves = g.left_root + tree_width;
  g.left_labels_end = g.left_leaves + labels_width;
  g.right_labels_start = g.left_labels_end + lines;
  g.right_leaves = g.right_labels_start + labels_width;
  g.right_root = g.right_leaves + tree_width;
  if (!g.collapsed) {
    g.y1 = evenly(n, g.top, g.bottom);
    g.y2 = g.y1;
    return g;
  }
  stack_blocks(t.block1, t.order1, t.blocks1, g.top, g.bottom, g.block_top1, g.block_bottom1);
  stack_blocks(t.block2, t.order2, t.blocks2, g.top, g.bottom, g.block_top2, g.block_bottom2);
  g.bands = lay_out_bands(t, g);
  return g;
}

std::optional<QString> describe_tanglegram_point(const compare::Tanglegram& t, const std::vector<QString>& labels,
                                                 const TanglegramGeometry& g, QPointF point) {
  if (point.x() < g.line_left() || point.x() > g.line_right()) return std::nullopt;
  if (g.collapsed) {
    const double s = (point.x() - g.line_left()) / (g.line_right() - g.line_left());
    for (auto band = g.bands.rbegin(); band != g.bands.rend(); ++band) {  // the last drawn is on top
      const double top = band->left_top + s * (band->right_top - band->left_top);
      const double bottom = band->left_bottom + s * (band->right_bottom - band->left_bottom);
      if (point.y() >= top && point.y() <= bottom)
        return QStringLiteral("blocks %1 and %2 share %3 objects, of clusters %4 and %5")
            .arg(band->first + 1)
            .arg(band->second + 1)
            .arg(band->count)
            .arg(band->cluster1 + 1)
            .arg(band->cluster2 + 1);
    }
    return std::nullopt;
  }
  const std::vector<int> position2 = compare::tangle::positions_of(t.order2);
  std::optional<int> nearest;
  double best = std::max(3.0, g.line_height * 0.3);
  for (std::size_t i = 0; i < t.order1.size(); ++i) {
    const int x = t.order1[i];
    const double d = distance_to_segment(point, {g.line_left(), g.y1[i]}, {g.line_right(), g.y2[position2[x]]});
    if (d <= best) best = d, nearest = x;
  }
  if (!nearest) return std::nullopt;
  return QStringLiteral("object %1: clusters %2 and %3%4")
      .arg(object_label(labels, *nearest))
      .arg(t.cluster1[*nearest] + 1)
      .arg(t.cluster2[*nearest] + 1)
      .arg(t.moved[*nearest] ? QStringLiteral(", moved") : QString());
}

}  // namespace console::plots
