// Drawing a laid-out chart with QPainter, on screen, into images and SVG.
#pragma once

#include <QImage>
#include <QPainter>

#include "app/chart/chart_layout.h"

namespace kolvio::chart {

// Draws the whole chart (white background, axes or pies, series, legend),
// antialiased. Series of thousands of points are drawn at the resolution
// of the picture: what falls on one pixel column is drawn once.
void PaintChart(QPainter& painter, const ChartLayout& layout, const ChartData& data);

// The chart laid out and drawn into a new image of `size`.
QImage RenderChart(const ChartData& data, const QSize& size, const QFont& font);

}  // namespace kolvio::chart
