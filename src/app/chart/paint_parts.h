// The parts PaintChart draws, one file each.
#pragma once

#include <QPainter>

#include "app/chart/chart_layout.h"

namespace kolvio::chart {

inline const QColor kTextColor(0x20, 0x20, 0x20);
inline const QColor kGridColor(0xDD, 0xDD, 0xDD);
inline const QColor kAxisColor(0x70, 0x70, 0x70);

void PaintAxes(QPainter& painter, const ChartLayout& layout);
void PaintPointLabels(QPainter& painter, const ChartLayout& layout);
void PaintLegend(QPainter& painter, const ChartLayout& layout);
void PaintBars(QPainter& painter, const ChartLayout& layout, const ChartData& data);
void PaintRanges(QPainter& painter, const ChartLayout& layout, const ChartData& data);
void PaintLines(QPainter& painter, const ChartLayout& layout, const ChartData& data);
void PaintPies(QPainter& painter, const ChartLayout& layout, const ChartData& data);

}  // namespace kolvio::chart
