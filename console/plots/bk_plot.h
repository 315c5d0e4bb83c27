#pragma once
// The Fowlkes-Mallows curve: Bk against the number of clusters k that both
// dendrograms have, with its expectation under random partitions of the
// same sizes and the band of two standard deviations about it shaded.
#include <QRectF>
#include <vector>

#include "engine/engine.h"

class QPainter;

namespace console::plots {

inline constexpr double kBkBandDeviations = 2.0;

void draw_bk_plot(QPainter& painter, const std::vector<compare::BkPoint>& curve, const QRectF& area);

}  // namespace console::plots
