// Which point of which set lies under the mouse, and what its tooltip says.
#pragma once

#include <QPointF>
#include <QString>
#include <optional>

#include "app/chart/chart_layout.h"

namespace kolvio::chart {

struct ChartHit {
    int set = -1;  // -1: the point of every set (a range bar)
    int point = 0;
};

// The bar, mark, line point, range bar or slice drawn at `pos`, if any.
// Marks and line points are found within a few pixels, so a rider need
// not hit a one-pixel line exactly.
std::optional<ChartHit> HitTest(const ChartLayout& layout, const ChartData& data,
                                const QPointF& pos);

// The point's label, then the value of the set (under its legend when it
// has one), or of every set for a range bar.
QString HitText(const ChartData& data, const ChartHit& hit);

}  // namespace kolvio::chart
