#pragma once
// Where a tanglegram's parts go in an area: the two trees with their
// heights growing outward, the labels between them, and each object's line
// (or, collapsed, each pair of clusters' band) from one side to the other.
// The drawing and the pointer's hit test share it.
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

#include "engine/tanglegram.h"

class QPaintDevice;

namespace console::plots {

// Above this many objects each tree is drawn as blocks, its clusters at a
// level of at least kCollapsedBlocks, a block a leaf as tall as its size.
inline constexpr int kCollapseAbove = 200;
inline constexpr int kCollapsedBlocks = 40;
// One band of a collapsed picture: the objects block `first` of
// dendrogram 1 shares with block `second` of dendrogram 2.
struct Band {
  int first = 0, second = 0, count = 0;
  int cluster1 = 0, cluster2 = 0;  // of its objects at the colour levels
  bool kept = true;  // its objects have not moved
  double left_top = 0, left_bottom = 0, right_top = 0, right_bottom = 0;
};

struct TanglegramGeometry {
  QFont font, label_font;
  double line_height = 0;
  QRectF title;
  double top = 0, bottom = 0;  // of the leaves
  // x of each tree's top height and of its leaves; the labels and lines between.
  double left_root = 0, left_leaves = 0, left_labels_end = 0;
  double right_labels_start = 0, right_leaves = 0, right_root = 0;
  double axis_y = 0;
  bool collapsed = false;
  bool labelled = false;
  // Not collapsed: the y of each position of order1 and order2.
  std::vector<double> y1, y2;
  // Collapsed: each block's top and bottom, blocks numbered from the top.
  std::vector<double> block_top1, block_bottom1, block_top2, block_bottom2;
  std::vector<Band> bands;

  double line_left() const { return left_labels_end; }
  double line_right() const { return right_labels_start; }
  // x of a height on either tree.
  double x1(double height, double top_height) const;
  double x2(double height, double top_height) const;
};

// Whether a picture of this many objects is drawn collapsed.
inline bool draws_collapsed(std::int64_t objects) { return objects > kCollapseAbove; }

TanglegramGeometry lay_out_tanglegram(const compare::Tanglegram& t, const std::vector<QString>& labels,
                                      const QRectF& area, const QPaintDevice* device);

// The label of object x (0-based): its own, or its number.
QString object_label(const std::vector<QString>& labels, int x);

// What the pointer is over: the object whose line passes within a few
// units, "object Ohio: clusters 2 and 3, moved"; collapsed, the band under it,
// "clusters 2 and 3 share 41 objects".
std::optional<QString> describe_tanglegram_point(const compare::Tanglegram& t, const std::vector<QString>& labels,
                                                 const TanglegramGeometry& geometry, QPointF point);

}  // namespace console::plots
