// Where every part of a chart goes on a picture of a given size.
//
// The layout is worked out once per size and data; the painter draws from
// it and the tooltip finds the point under the mouse from it, so the two
// always agree.
#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QVector>

#include "app/chart/chart_data.h"
#include "app/chart/chart_scale.h"
#include "app/chart/label_placement.h"

namespace kolvio::chart {

struct LegendEntry {
    QColor color;
    QString text;     // elided to the legend's width
    int series = -1;  // the set (or, beside pies, the point); -1 for "more"
    QRectF box;
};

// One pie: the set it shows, its top face and the depth of its side.
struct PieGeometry {
    int set = 0;
    QRectF disc;  // the top face; an ellipse for 3-D pies
    double depth = 0;
    QRectF titleBox;   // the set's legend above the pie (empty when off)
    double total = 0;  // the sum of the set's positive values
};

struct ChartLayout {
    QRectF bounds;
    QFont font;
    ChartKind kind = ChartKind::kBars2D;
    QVector<LegendEntry> legend;
    QRectF legendBox;

    // Lines, points and bars: the front plane of the plot, the offset of
    // its back plane (3-D bars only), the value axis and the point labels.
    QRectF plot;
    QPointF depth;
    ValueScale scale;
    QVector<QPair<double, QString>> ticks;  // y and text of each tick
    double slotWidth = 0;
    LabelPlacement labels;

    QVector<PieGeometry> pies;

    bool isPie() const { return kind == ChartKind::kPie2D || kind == ChartKind::kPie3D; }
    // The centre of point p's slot, and the height of a value.
    double xOf(int point) const { return plot.left() + (point + 0.5) * slotWidth; }
    double yOf(double value) const;
    // Bars of the sets side by side in a slot; with slots too narrow for
    // that, the bars of all sets share the slot.
    bool barsDense() const { return slotWidth < 2.0; }
    QRectF barRect(int set, int numSets, int point, double value) const;
};

ChartLayout LayOutChart(const ChartData& data, const QRectF& bounds, const QFont& font);

// The angle of each slice of a pie of the set, in degrees, clockwise from
// twelve o'clock; values of 0 or less have no slice.
QVector<double> SliceAngles(const ChartData& data, int set, double total);

}  // namespace kolvio::chart
