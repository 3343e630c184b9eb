#include "app/chart/chart_layout.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <functional>

#include "app/chart/chart_palette.h"

namespace kolvio::chart {

namespace {

constexpr double kMargin = 8;
constexpr double kSwatch = 12;
constexpr int kMaxTicks = 200;

// The `count` entries made by `entry` down the right side, as many as
// fit; the last place tells how many more there are.
QRectF LayOutLegend(int count, const std::function<LegendEntry(int)>& entry, const QRectF& area,
                    const QFontMetricsF& fm, ChartLayout& layout) {
    if (count == 0) return area;
    const double rowHeight = fm.height() + 4;
    const int rows = std::max(1, int(area.height() / rowHeight));
    QVector<LegendEntry> entries;
    for (int i = 0; i < std::min(count, count > rows ? rows - 1 : rows); ++i)
        entries.append(entry(i));
    if (count > rows)
        entries.append(
            {Qt::transparent, QStringLiteral("… (+%1)").arg(count - entries.size()), -1, {}});
    double textWidth = 0;
    for (const LegendEntry& e : entries)
        textWidth = std::max(textWidth, fm.horizontalAdvance(e.text));
    const double maxText = std::max(30.0, area.width() * 0.3 - kSwatch - 16);
    textWidth = std::min(textWidth, maxText);
    const double width = kSwatch + 6 + textWidth + 10;
    const QRectF box(area.right() - width, area.top(), width, rowHeight * entries.size() + 6);
    double y = box.top() + 3;
    for (LegendEntry& e : entries) {
        e.text = fm.elidedText(e.text, Qt::ElideRight, textWidth);
        e.box = QRectF(box.left() + 4, y, width - 8, rowHeight);
        y += rowHeight;
    }
    layout.legend = entries;
    layout.legendBox = box;
    return area.adjusted(0, 0, -width - kMargin, 0);
}

void LayOutCartesian(const ChartData& data, const QRectF& area, const QFontMetricsF& fm,
                     ChartLayout& layout) {
    const bool bars = layout.kind == ChartKind::kBars2D || layout.kind == ChartKind::kBars3D;
    double min = 0, max = 0;
    if (!data.values.empty()) {
        const auto [lo, hi] = std::minmax_element(data.values.begin(), data.values.end());
        min = *lo;
        max = *hi;
    }
    if (layout.kind == ChartKind::kBars3D) {
        // Deep enough to read as depth, but no deeper than a bar is wide,
        // or the tops of narrow bars would cover their neighbours.
        const double barWidth = area.width() / std::max(1, data.numPoints) * 0.8 / data.numSets;
        const double d =
            std::min(std::clamp(std::min(area.width(), area.height()) * 0.025, 4.0, 14.0),
                     std::max(2.0, barWidth * 0.7));
        layout.depth = QPointF(d, -d * 0.7);
    }
    const double lineHeight = fm.height();
    const double top = area.top() + lineHeight / 2 - layout.depth.y();
    double bottom = area.bottom() - lineHeight - 4;
    double axisWidth = 0;
    for (int pass = 0; pass < 3; ++pass) {
        const int maxTicks = std::max(2, int((bottom - top) / (lineHeight * 2.2)));
        layout.scale = NiceScale(min, max, maxTicks, bars);
        double widest = 0;
        layout.ticks.clear();
        const int count = std::min(layout.scale.tickCount(), kMaxTicks);
        for (int i = 0; i < count; ++i) {
            const QString text = FormatNumber(layout.scale.tick(i), layout.scale.decimals);
            widest = std::max(widest, fm.horizontalAdvance(text));
            layout.ticks.append({layout.scale.tick(i), text});
        }
        if (pass > 0 && widest + 6 <= axisWidth) break;
        axisWidth = widest + 6;
        const double left = area.left() + axisWidth;
        const double right = std::max(left + 1, area.right() - layout.depth.x());
        layout.slotWidth = (right - left) / std::max(1, data.numPoints);
        layout.labels = PlaceLabels(data.labels, left, layout.slotWidth, 0, area.left(),
                                    area.right(), fm, area.height() * 0.35);
        bottom = std::max(top + 1, area.bottom() - layout.labels.bandHeight - 4);
        layout.plot = QRectF(QPointF(left, top), QPointF(right, bottom));
    }
    for (auto& tick : layout.ticks)
        tick.first = layout.yOf(tick.first);
    for (PlacedLabel& label : layout.labels.labels)
        label.box.translate(0, layout.plot.bottom() + 4);
}

void LayOutPies(const ChartData& data, const QRectF& area, const QFontMetricsF& fm,
                ChartLayout& layout) {
    const bool flat = layout.kind == ChartKind::kPie2D;
    const double titleHeight = data.hasLegend() ? fm.height() + 4 : 0;
    const double heightPerWidth = flat ? 1.0 : 0.55 + 0.1;
    const int sets = data.numSets;
    int columns = 1;
    double diameter = 0;
    for (int c = 1; c <= sets; ++c) {
        const int rows = (sets + c - 1) / c;
        const double d = std::min(area.width() / c * 0.9,
                                  (area.height() / rows - titleHeight) * 0.9 / heightPerWidth);
        if (d > diameter) {
            diameter = d;
            columns = c;
        }
    }
    diameter = std::max(diameter, 2.0);
    const int rows = (sets + columns - 1) / columns;
    const QSizeF cell(area.width() / columns, area.height() / rows);
    for (int s = 0; s < sets; ++s) {
        PieGeometry pie;
        pie.set = s;
        const QPointF cellTop(area.left() + (s % columns) * cell.width(),
                              area.top() + (s / columns) * cell.height());
        const double discHeight = flat ? diameter : diameter * 0.55;
        pie.depth = flat ? 0 : diameter * 0.1;
        const double used = titleHeight + discHeight + pie.depth;
        const double y = cellTop.y() + (cell.height() - used) / 2;
        pie.titleBox = QRectF(cellTop.x(), y, cell.width(), titleHeight);
        pie.disc = QRectF(cellTop.x() + (cell.width() - diameter) / 2, y + titleHeight, diameter,
                          discHeight);
        for (int p = 0; p < data.numPoints; ++p)
            pie.total += std::max(0.0, data.value(s, p));
        layout.pies.append(pie);
    }
}

}  // namespace

double ChartLayout::yOf(double value) const {
    const double f = std::clamp(scale.fraction(value), -0.01, 1.01);
    return plot.bottom() - f * plot.height();
}

QRectF ChartLayout::barRect(int set, int numSets, int point, double value) const {
    const double base = yOf(std::clamp(0.0, scale.lo, scale.hi));
    const double end = yOf(value);
    const double slotLeft = plot.left() + point * slotWidth;
    if (barsDense())
        return QRectF(QPointF(slotLeft, std::min(base, end)),
                      QPointF(slotLeft + slotWidth, std::max(base, end)));
    const double width = slotWidth * 0.8 / numSets;
    const double left = slotLeft + slotWidth * 0.1 + set * width;
    return QRectF(QPointF(left, std::min(base, end)), QPointF(left + width, std::max(base, end)));
}

ChartLayout LayOutChart(const ChartData& data, const QRectF& bounds, const QFont& font) {
    ChartLayout layout;
    layout.bounds = bounds;
    layout.font = font;
    layout.kind = data.kind();
    if (data.isEmpty()) return layout;
    const QFontMetricsF fm(font);
    QRectF area = bounds.adjusted(kMargin, kMargin, -kMargin, -kMargin);
    if (layout.isPie()) {
        // Beside pies the key names the points, whose colours the slices take.
        const auto slice = [&data](int p) {
            return LegendEntry{SliceColor(p, data.numPoints), data.labels[p], p, {}};
        };
        area = LayOutLegend(data.numPoints, slice, area, fm, layout);
    } else if (data.hasLegend()) {
        const auto set = [&data](int s) {
            return LegendEntry{SeriesColor(s), data.legends[s], s, {}};
        };
        area = LayOutLegend(data.numSets, set, area, fm, layout);
    }
    if (layout.isPie())
        LayOutPies(data, area, fm, layout);
    else
        LayOutCartesian(data, area, fm, layout);
    return layout;
}

QVector<double> SliceAngles(const ChartData& data, int set, double total) {
    QVector<double> angles(data.numPoints, 0.0);
    if (total <= 0) return angles;
    for (int p = 0; p < data.numPoints; ++p)
        angles[p] = std::max(0.0, data.value(set, p)) / total * 360.0;
    return angles;
}

}  // namespace kolvio::chart
