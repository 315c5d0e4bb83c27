#pragma once
// The tanglegram: dendrogram 1 on the left and dendrogram 2 on the right,
// their heights growing outward, the labels between, each object's two
// leaves joined by a line in the colour of its cluster in dendrogram 1 at
// the colour level, thin where its two clusters hold the most of each
// other and bold where it has moved. Collapsed (above kCollapseAbove
// objects), each tree is cut at the colour level, a cluster a bar as tall
// as its size, and the lines become bands as wide as the objects two
// clusters share.
#include <QRectF>
#include <QRgb>
#include <QString>
#include <vector>

#include "engine/tanglegram.h"

class QPainter;

namespace console::plots {

// The colour of cluster c (0-based) of dendrogram 1, from a palette of ten
// told apart easily, repeated past ten.
QRgb cluster_colour(int cluster);
// A lighter tint of it, for the lines of objects that stay.
QRgb kept_colour(int cluster);

void draw_tanglegram(QPainter& painter, const compare::Tanglegram& tanglegram, const std::vector<QString>& labels,
                     const QRectF& area);

// "Tanglegram: entanglement 0.0412 (0.2130 as given), 3 and 4 clusters, 7 objects moved".
QString tanglegram_title(const compare::Tanglegram& tanglegram);

}  // namespace console::plots
