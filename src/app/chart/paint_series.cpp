// Bars, range bars, lines and points over the axes.
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/chart/chart_palette.h"
#include "app/chart/paint_parts.h"

namespace kolvio::chart {

namespace {

// Marks need this much room per point; closer points are drawn as dots.
constexpr double kMarkSpacing = 6;
constexpr double kMarkSize = 8;
const QColor kRangeBarColor(0xCC, 0xCC, 0xCC);

// The pixel columns of the plot and the column of each point.
struct Columns {
    explicit Columns(const ChartLayout& layout)
        : left(layout.plot.left()), count(std::max(1, int(std::ceil(layout.plot.width())))) {}
    int of(const ChartLayout& layout, int point) const {
        return std::clamp(int(layout.xOf(point) - left), 0, count - 1);
    }
    double x(int column) const { return left + column + 0.5; }
    double left;
    int count;
};

// Bars too narrow to stand side by side: in each pixel column, each set
// shows as far as its largest value there reaches beyond the sets shorter
// than it, so every set stays visible and nothing is painted twice.
void PaintDenseBars(QPainter& painter, const ChartLayout& layout, const ChartData& data) {
    const Columns columns(layout);
    const int sets = data.numSets;
    std::vector<double> high(size_t(columns.count) * sets, 0.0);
    std::vector<double> low(size_t(columns.count) * sets, 0.0);
    for (int p = 0; p < data.numPoints; ++p) {
        const size_t at = size_t(columns.of(layout, p)) * sets;
        for (int s = 0; s < sets; ++s) {
            high[at + s] = std::max(high[at + s], data.value(s, p));
            low[at + s] = std::min(low[at + s], data.value(s, p));
        }
    }
    std::vector<QVector<QLineF>> segments(sets);
    QVector<QLineF> shadows;
    std::vector<std::pair<double, int>> order(sets);
    for (int c = 0; c < columns.count; ++c) {
        const double x = columns.x(c);
        for (const std::vector<double>* side : {&high, &low}) {
            for (int s = 0; s < sets; ++s)
                order[s] = {std::abs((*side)[size_t(c) * sets + s]), s};
            std::sort(order.begin(), order.end());
            const double sign = side == &high ? 1 : -1;
            double reached = 0;
            for (const auto& [extent, s] : order) {
                if (extent <= reached) continue;
                segments[s].append(
                    QLineF(x, layout.yOf(sign * reached), x, layout.yOf(sign * extent)));
                reached = extent;
            }
            if (reached > 0 && !layout.depth.isNull())
                shadows.append(QLineF(x, layout.yOf(0), x, layout.yOf(sign * reached))
                                   .translated(layout.depth));
        }
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(SideFace(kAxisColor), 1));
    painter.drawLines(shadows);
    for (int s = 0; s < sets; ++s) {
        painter.setPen(QPen(SeriesColor(s), 1));
        painter.drawLines(segments[s]);
    }
    painter.restore();
}

void PaintBar3D(QPainter& painter, const QRectF& r, const QPointF& depth, const QColor& color) {
    const QPointF top[] = {r.topLeft(), r.topLeft() + depth, r.topRight() + depth, r.topRight()};
    const QPointF side[] = {r.topRight(), r.topRight() + depth, r.bottomRight() + depth,
                            r.bottomRight()};
    painter.setBrush(TopFace(color));
    painter.drawPolygon(top, 4);
    painter.setBrush(SideFace(color));
    painter.drawPolygon(side, 4);
    painter.fillRect(r, color);
}

// A line through the points of a set. With more points than pixel
// columns, each column is drawn as one upright stroke from where the line
// enters it over its lowest and highest point, which is the same picture
// at a fraction of the cost.
void PaintSeriesLine(QPainter& painter, const ChartLayout& layout, const ChartData& data, int set) {
    QVector<QLineF> segments;
    const Columns columns(layout);
    painter.save();
    // Square caps: Qt strokes round caps and long polylines many times
    // slower, and at this width the joins look the same.
    painter.setPen(QPen(SeriesColor(set), 2, Qt::SolidLine, Qt::SquareCap));
    if (data.numPoints <= columns.count) {
        for (int p = 1; p < data.numPoints; ++p)
            segments.append(QLineF(layout.xOf(p - 1), layout.yOf(data.value(set, p - 1)),
                                   layout.xOf(p), layout.yOf(data.value(set, p))));
        painter.drawLines(segments);
        painter.restore();
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    segments.reserve(columns.count);
    double entry = data.value(set, 0);
    for (int p = 0; p < data.numPoints;) {
        const int column = columns.of(layout, p);
        double lo = entry, hi = entry, last = entry;
        for (; p < data.numPoints && columns.of(layout, p) == column; ++p) {
            last = data.value(set, p);
            lo = std::min(lo, last);
            hi = std::max(hi, last);
        }
        const double x = columns.x(column);
        segments.append(QLineF(x, layout.yOf(lo), x, layout.yOf(hi)));
        entry = last;
    }
    painter.drawLines(segments);
    painter.restore();
}

// Small square dots, one per pixel a set reaches.
void PaintDots(QPainter& painter, const ChartLayout& layout, const ChartData& data, int set) {
    const QRect plot = layout.plot.toAlignedRect();
    std::vector<bool> taken(size_t(plot.width() + 1) * (plot.height() + 1), false);
    QVector<QPointF> dots;
    for (int p = 0; p < data.numPoints; ++p) {
        const QPointF at(layout.xOf(p), layout.yOf(data.value(set, p)));
        const int x = std::clamp(int(at.x()) - plot.left(), 0, plot.width());
        const int y = std::clamp(int(at.y()) - plot.top(), 0, plot.height());
        const size_t cell = size_t(y) * (plot.width() + 1) + x;
        if (taken[cell]) continue;
        taken[cell] = true;
        dots.append(at);
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(SeriesColor(set), 3, Qt::SolidLine, Qt::SquareCap));
    painter.drawPoints(dots);
    painter.restore();
}

void PaintMarks(QPainter& painter, const ChartLayout& layout, const ChartData& data, int set) {
    const QPainterPath mark = MarkShape(set, kMarkSize);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(SeriesColor(set));
    for (int p = 0; p < data.numPoints; ++p)
        painter.drawPath(mark.translated(layout.xOf(p), layout.yOf(data.value(set, p))));
}

}  // namespace

void PaintBars(QPainter& painter, const ChartLayout& layout, const ChartData& data) {
    if (layout.barsDense()) {
        PaintDenseBars(painter, layout, data);
        return;
    }
    painter.setPen(Qt::NoPen);
    for (int p = 0; p < data.numPoints; ++p) {
        for (int s = 0; s < data.numSets; ++s) {
            const QRectF r = layout.barRect(s, data.numSets, p, data.value(s, p));
            if (layout.depth.isNull())
                painter.fillRect(r, SeriesColor(s));
            else
                PaintBar3D(painter, r, layout.depth, SeriesColor(s));
        }
    }
}

void PaintRanges(QPainter& painter, const ChartLayout& layout, const ChartData& data) {
    const Columns columns(layout);
    const bool dense = layout.slotWidth < 4;
    QVector<QLineF> envelope;
    for (int p = 0; p < data.numPoints; ++p) {
        double lo = data.value(0, p), hi = lo;
        for (int s = 1; s < data.numSets; ++s) {
            lo = std::min(lo, data.value(s, p));
            hi = std::max(hi, data.value(s, p));
        }
        if (dense) {
            const double x = columns.x(columns.of(layout, p));
            envelope.append(QLineF(x, layout.yOf(lo), x, layout.yOf(hi) - 1));
            continue;
        }
        // A bar from the lowest to the highest value, with a tick in the
        // set's colour at each value.
        const double width = layout.slotWidth * 0.6;
        const double x = layout.xOf(p);
        const QRectF bar(QPointF(x - width / 2, layout.yOf(hi) - 1),
                         QPointF(x + width / 2, layout.yOf(lo) + 1));
        painter.setPen(QPen(kAxisColor, 1));
        painter.setBrush(kRangeBarColor);
        painter.drawRect(bar);
        for (int s = 0; s < data.numSets; ++s) {
            const double y = layout.yOf(data.value(s, p));
            painter.setPen(QPen(SeriesColor(s), 2, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(QPointF(bar.left() - 2, y), QPointF(bar.right() + 2, y));
        }
    }
    if (dense) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(kAxisColor, 1));
        painter.drawLines(envelope);
        painter.restore();
    }
}

void PaintLines(QPainter& painter, const ChartLayout& layout, const ChartData& data) {
    const bool lines = layout.kind != ChartKind::kPoints;
    const bool marks = layout.kind != ChartKind::kLines;
    const bool roomForMarks = layout.slotWidth >= kMarkSpacing;
    painter.setBrush(Qt::NoBrush);
    for (int s = 0; s < data.numSets; ++s) {
        if (lines) {
            PaintSeriesLine(painter, layout, data, s);
        }
        if (marks && roomForMarks)
            PaintMarks(painter, layout, data, s);
        else if (!lines)
            PaintDots(painter, layout, data, s);
    }
}

}  // namespace kolvio::chart
