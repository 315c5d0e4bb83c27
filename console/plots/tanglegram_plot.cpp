#include "console/plots/tanglegram_plot.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <functional>

#include "console/plots/picture_style.h"
#include "console/plots/tanglegram_geometry.h"
#include "engine/tangle/shared_clusters.h"

namespace console::plots {
namespace {

constexpr QRgb kPalette[] = {0xff1f77b4u, 0xffff7f0eu, 0xff2ca02cu, 0xffd62728u, 0xff9467bdu,
                             0xff8c564bu, 0xffe377c2u, 0xff7f7f7fu, 0xffbcbd22u, 0xff17becfu};
constexpr QRgb kTreeColour = 0xff404040u;

using compare::tangle::TreeShape;

// Per node of a tree: the cluster of its objects at a level, or -1 above it.
std::vector<int> node_clusters(const TreeShape& tree, int level, const std::vector<int>& cluster) {
  std::vector<int> of(static_cast<std::size_t>(tree.node_count()), -1);
  for (int x = 0; x < tree.leaf_count; ++x) of[x] = cluster[x];
  for (std::size_t t = 0; t < tree.left.size(); ++t)
    if (tree.level[t] <= level) of[tree.leaf_count + t] = of[tree.left[t]];
  return of;
}

// The colour of each cluster of dendrogram 2: that of the cluster of
// dendrogram 1 it shares the most objects with.
std::vector<int> matched_colours(const compare::Tanglegram& t) {
  std::vector<int> colour(static_cast<std::size_t>(t.clusters2), 0), most(colour.size(), 0);
  for (const auto& cell : compare::tangle::shared_cells(t.cluster1, t.cluster2))
    if (cell.count > most[cell.second]) most[cell.second] = cell.count, colour[cell.second] = cell.first;
  return colour;
}

struct TreeSide {
  const TreeShape* tree;
  std::vector<int> node_cluster;  // at the colour level
  std::vector<int> node_block;    // collapsed: the block of each node within one  // as node_clusters
  std::vector<int> colour_of;     // cluster -> palette entry
  bool collapsed;
  std::function<double(double)> x_of;
};

// y of every node: leaves (or, collapsed, the clusters' topmost nodes) where
// the geometry puts them, the others midway between their children.
std::vector<double> node_ys(const TreeSide& side, const std::vector<int>& order, const std::vector<double>& y_of_position,
                            const std::vector<double>& tops, const std::vector<double>& bottoms) {
  const TreeShape& tree = *side.tree;
  std::vector<double> y(static_cast<std::size_t>(tree.node_count()), 0.0);
  if (!side.collapsed) {
    for (std::size_t i = 0; i < order.size(); ++i) y[order[i]] = y_of_position[i];
  } else {
    for (int x = 0; x < tree.leaf_count; ++x) y[x] = (tops[side.node_block[x]] + bottoms[side.node_block[x]]) / 2;
  }
  for (std::size_t t = 0; t < tree.left.size(); ++t) {
    const int node = tree.leaf_count + static_cast<int>(t);
    y[node] = side.collapsed && side.node_block[node] >= 0 ? y[tree.left[t]] : (y[tree.left[t]] + y[tree.right[t]]) / 2;
  }
  return y;
}

void draw_tree(QPainter& painter, const TreeSide& side, const std::vector<double>& y, double width) {
  const TreeShape& tree = *side.tree;
  const auto height_of = [&](int node) {
    // Collapsed, a block is a leaf: its branch starts at height 0.
    return side.collapsed && side.node_block[node] >= 0 ? 0.0 : static_cast<double>(tree.height_of(node));
  };
  for (std::size_t t = 0; t < tree.left.size(); ++t) {
    const int node = tree.leaf_count + static_cast<int>(t);
    const int cluster = side.node_cluster[node];
    if (side.collapsed && side.node_block[node] >= 0) continue;
    const QRgb colour = cluster >= 0 ? cluster_colour(side.colour_of[cluster]) : kTreeColour;
    painter.setPen(QPen(QColor::fromRgb(colour), width, Qt::SolidLine, Qt::FlatCap));
    const double x = side.x_of(tree.height[t]);
    QPainterPath elbow;
    elbow.moveTo(side.x_of(height_of(tree.left[t])), y[tree.left[t]]);
    elbow.lineTo(x, y[tree.left[t]]);
    elbow.lineTo(x, y[tree.right[t]]);
    elbow.lineTo(side.x_of(height_of(tree.right[t])), y[tree.right[t]]);
    painter.drawPath(elbow);
  }
}

void draw_height_axis(QPainter& painter, double from, double to, double top, double y, double h) {
  const Ticks ticks = nice_ticks(0.0, top, 5);
  painter.setPen(QPen(QColor::fromRgb(kTreeColour), 1.0));
  painter.drawLine(QPointF(from, y), QPointF(to, y));
  for (const double v : ticks.values) {
    if (v > top * (1 + 1e-9)) continue;
    const double x = top > 0 ? from + v / top * (to - from) : from;
    painter.drawLine(QPointF(x, y), QPointF(x, y + h * 0.3));
    draw_centred_text(painter, QPointF(x, y + h * 0.9), tick_text(v, ticks.step));
  }
}

void draw_labels(QPainter& painter, const std::vector<QString>& labels, const std::vector<int>& order,
                 const std::vector<double>& y, double x, bool right_aligned, double h) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  painter.setPen(Qt::black);
  for (std::size_t i = 0; i < order.size(); ++i) {
    const QString text = object_label(labels, order[i]);
    const double width = metrics.horizontalAdvance(text);
    const double left = right_aligned ? x - h * 0.25 - width : x + h * 0.25;
    painter.drawText(QPointF(left, y[i] + (metrics.ascent() - metrics.descent()) / 2), text);
  }
}

void draw_lines(QPainter& painter, const compare::Tanglegram& t, const TanglegramGeometry& g) {
  const std::vector<int> position2 = compare::tangle::positions_of(t.order2);
  const double spacing = t.order1.empty() ? 0 : (g.bottom - g.top) / t.order1.size();
  const double thin = std::clamp(spacing * 0.3, 0.5, g.line_height * 0.08);
  const double bold = std::clamp(spacing * 0.7, 1.0, g.line_height * 0.22);
  for (const bool moved : {false, true}) {  // the moved on top
    for (std::size_t i = 0; i < t.order1.size(); ++i) {
      const int x = t.order1[i];
      if ((t.moved[x] != 0) != moved) continue;
      const int cluster = t.cluster1[x];
      painter.setPen(QPen(QColor::fromRgb(moved ? cluster_colour(cluster) : kept_colour(cluster)), moved ? bold : thin));
      painter.drawLine(QPointF(g.line_left(), g.y1[i]), QPointF(g.line_right(), g.y2[position2[x]]));
    }
  }
}

// Bands drawn with an outline of their own colour, so that neighbours
// sharing an edge leave no seam between them.
void draw_bands(QPainter& painter, const TanglegramGeometry& g) {
  for (const bool kept : {true, false}) {
    for (const Band& band : g.bands) {
      if (band.kept != kept) continue;
      const QColor colour = QColor::fromRgb(kept ? kept_colour(band.cluster1) : cluster_colour(band.cluster1));
      QPainterPath path;
      path.moveTo(g.line_left(), band.left_top);
      path.lineTo(g.line_right(), band.right_top);
      path.lineTo(g.line_right(), band.right_bottom);
      path.lineTo(g.line_left(), band.left_bottom);
      path.closeSubpath();
      painter.setPen(QPen(colour, 0.6));
      painter.setBrush(colour);
      painter.drawPath(path);
    }
  }
}

// Each block a bar in its cluster's colour.
void draw_block_bars(QPainter& painter, const TreeSide& side, const std::vector<double>& tops,
                     const std::vector<double>& bottoms, double x, double width) {
  std::vector<int> colour(tops.size(), 0);
  for (int object = 0; object < side.tree->leaf_count; ++object)
    colour[side.node_block[object]] = side.colour_of[side.node_cluster[object]];
  painter.setPen(Qt::NoPen);
  for (std::size_t b = 0; b < tops.size(); ++b) {
    painter.setBrush(QColor::fromRgb(cluster_colour(colour[b])));
    painter.drawRect(QRectF(std::min(x, x + width), tops[b], std::abs(width), bottoms[b] - tops[b]));
  }
}

}  // namespace

QRgb cluster_colour(int cluster) { return kPalette[static_cast<std::size_t>(std::max(cluster, 0)) % std::size(kPalette)]; }

QRgb kept_colour(int cluster) {
  const QRgb c = cluster_colour(cluster);
  const auto tint = [](int v) { return (v + 2 * 255) / 3; };
  return qRgb(tint(qRed(c)), tint(qGreen(c)), tint(qBlue(c)));
}

QString tanglegram_title(const compare::Tanglegram& t) {
  const int moved = static_cast<int>(std::count(t.moved.begin(), t.moved.end(), 1));
  QString title = QStringLiteral("Tanglegram: entanglement %1").arg(t.entanglement, 0, 'f', 4);
  if (t.untangled) title += QStringLiteral(" (%1 as given)").arg(t.given_entanglement, 0, 'f', 4);
  return title + QStringLiteral(", %1 and %2 clusters, %3 %4 moved")
                     .arg(t.clusters1)
                     .arg(t.clusters2)
                     .arg(moved)
                     .arg(moved == 1 ? QStringLiteral("object") : QStringLiteral("objects"));
}

void draw_tanglegram(QPainter& painter, const compare::Tanglegram& t, const std::vector<QString>& labels,
                     const QRectF& area) {
  const TanglegramGeometry g = lay_out_tanglegram(t, labels, area, painter.device());
  const double h = g.line_height;
  painter.save();
  painter.fillRect(area, Qt::white);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setFont(title_font(g.font));
  painter.setPen(Qt::black);
  draw_centred_text(painter, QPointF(area.center().x(), area.top() + h * 1.5), tanglegram_title(t));
  painter.setFont(g.font);
  const double top1 = t.tree1.top_height(), top2 = t.tree2.top_height();
  TreeSide left{&t.tree1, node_clusters(t.tree1, t.level1, t.cluster1), {}, {}, g.collapsed,
                [&](double v) { return g.x1(v, top1); }};
  TreeSide right{&t.tree2, node_clusters(t.tree2, t.level2, t.cluster2), {}, {}, g.collapsed,
                 [&](double v) { return g.x2(v, top2); }};
  if (g.collapsed) {
    left.node_block = node_clusters(t.tree1, t.block_level1, t.block1);
    right.node_block = node_clusters(t.tree2, t.block_level2, t.block2);
  }
  left.colour_of.resize(static_cast<std::size_t>(t.clusters1));
  for (int c = 0; c < t.clusters1; ++c) left.colour_of[c] = c;
  right.colour_of = matched_colours(t);
  const double tree_pen = std::clamp(h * 0.08, 0.6, 1.6);
  draw_tree(painter, left, node_ys(left, t.order1, g.y1, g.block_top1, g.block_bottom1), tree_pen);
  draw_tree(painter, right, node_ys(right, t.order2, g.y2, g.block_top2, g.block_bottom2), tree_pen);
  draw_height_axis(painter, g.left_leaves, g.left_root, top1, g.axis_y, h);
  draw_height_axis(painter, g.right_leaves, g.right_root, top2, g.axis_y, h);
  if (g.collapsed) {
    draw_bands(painter, g);
    draw_block_bars(painter, left, g.block_top1, g.block_bottom1, g.left_leaves, h * 0.4);
    draw_block_bars(painter, right, g.block_top2, g.block_bottom2, g.right_leaves, -h * 0.4);
  } else {
    draw_lines(painter, t, g);
    if (g.labelled) {
      painter.setFont(g.label_font);
      draw_labels(painter, labels, t.order1, g.y1, g.left_labels_end, true, h);
      draw_labels(painter, labels, t.order2, g.y2, g.right_labels_start, false, h);
    }
  }
  painter.restore();
}

}  // namespace console::plots
