#include "app/chart/chart_hit.h"

#include <QLineF>
#include <algorithm>
#include <cmath>

namespace kolvio::chart {

namespace {

constexpr double kReach = 6;  // pixels around a mark or a line point

std::optional<ChartHit> NearestPoint(const ChartLayout& layout, const ChartData& data,
                                     const QPointF& pos) {
    const int first = std::max(0, int((pos.x() - kReach - layout.plot.left()) / layout.slotWidth));
    const int last = std::min(data.numPoints - 1,
                              int((pos.x() + kReach - layout.plot.left()) / layout.slotWidth));
    std::optional<ChartHit> best;
    double bestDistance = kReach;
    for (int p = first; p <= last; ++p) {
        for (int s = 0; s < data.numSets; ++s) {
            const QPointF at(layout.xOf(p), layout.yOf(data.value(s, p)));
            const double distance = QLineF(at, pos).length();
            if (distance <= bestDistance) {
                bestDistance = distance;
                best = ChartHit{s, p};
            }
        }
    }
    return best;
}

std::optional<ChartHit> BarAt(const ChartLayout& layout, const ChartData& data,
                              const QPointF& pos) {
    const int p = int((pos.x() - layout.plot.left()) / layout.slotWidth);
    if (p < 0 || p >= data.numPoints) return std::nullopt;
    // The shortest bar containing the mouse is the one drawn in front.
    std::optional<ChartHit> best;
    double shortest = 0;
    for (int s = 0; s < data.numSets; ++s) {
        const QRectF bar =
            layout.barRect(s, data.numSets, p, data.value(s, p)).adjusted(0, -2, 0, 2);
        if (pos.x() < bar.left() || pos.x() > bar.right() || pos.y() < bar.top() ||
            pos.y() > bar.bottom())
            continue;
        if (!best || bar.height() < shortest) {
            shortest = bar.height();
            best = ChartHit{s, p};
        }
    }
    return best;
}

std::optional<ChartHit> RangeAt(const ChartLayout& layout, const ChartData& data,
                                const QPointF& pos) {
    const int p = int((pos.x() - layout.plot.left()) / layout.slotWidth);
    if (p < 0 || p >= data.numPoints) return std::nullopt;
    double lo = data.value(0, p), hi = lo;
    for (int s = 1; s < data.numSets; ++s) {
        lo = std::min(lo, data.value(s, p));
        hi = std::max(hi, data.value(s, p));
    }
    if (pos.y() < layout.yOf(hi) - 3 || pos.y() > layout.yOf(lo) + 3) return std::nullopt;
    return ChartHit{-1, p};
}

std::optional<ChartHit> SliceAt(const ChartLayout& layout, const ChartData& data,
                                const QPointF& pos) {
    for (const PieGeometry& pie : layout.pies) {
        // In the disc's own circle, where angles are those of the slices.
        const double dx = (pos.x() - pie.disc.center().x()) / (pie.disc.width() / 2);
        const double dy = (pos.y() - pie.disc.center().y()) / (pie.disc.height() / 2);
        if (dx * dx + dy * dy > 1 || pie.total <= 0) continue;
        double angle = std::atan2(dx, -dy) * 180 / M_PI;
        if (angle < 0) angle += 360;
        const QVector<double> angles = SliceAngles(data, pie.set, pie.total);
        double end = 0;
        for (int p = 0; p < angles.size(); ++p) {
            end += angles[p];
            if (angles[p] > 0 && angle < end) return ChartHit{pie.set, p};
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<ChartHit> HitTest(const ChartLayout& layout, const ChartData& data,
                                const QPointF& pos) {
    if (data.isEmpty()) return std::nullopt;
    if (layout.isPie()) return SliceAt(layout, data, pos);
    if (!layout.plot.adjusted(-kReach, -kReach, kReach, kReach).contains(pos)) return std::nullopt;
    switch (layout.kind) {
        case ChartKind::kBars2D:
        case ChartKind::kBars3D:
            return BarAt(layout, data, pos);
        case ChartKind::kRange:
            return RangeAt(layout, data, pos);
        default:
            return NearestPoint(layout, data, pos);
    }
}

QString HitText(const ChartData& data, const ChartHit& hit) {
    QString text = data.labels.value(hit.point);
    const auto line = [&](int s) {
        const QString legend = data.legends.value(s);
        const QString value = FormatValue(data.value(s, hit.point));
        return legend.isEmpty() ? value : legend + QStringLiteral(": ") + value;
    };
    if (hit.set >= 0) return text + u'\n' + line(hit.set);
    for (int s = 0; s < data.numSets; ++s)
        text += u'\n' + line(s);
    return text;
}

}  // namespace kolvio::chart
