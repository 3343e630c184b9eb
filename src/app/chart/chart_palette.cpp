#include "app/chart/chart_palette.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kolvio::chart {

namespace {

// Blue, orange, bluish green, vermillion, sky blue, reddish purple,
// yellow, black.
constexpr std::array<QRgb, 8> kOkabeIto = {0x0072B2, 0xE69F00, 0x009E73, 0xD55E00,
                                           0x56B4E9, 0xCC79A7, 0xF0E442, 0x000000};

constexpr int kMarkShapes = 6;

QPainterPath RegularPolygon(int corners, double radius, double turn) {
    QPainterPath path;
    for (int i = 0; i < corners; ++i) {
        const double a = turn + 2 * M_PI * i / corners;
        const QPointF p(radius * std::sin(a), -radius * std::cos(a));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

}  // namespace

QColor SeriesColor(int index) {
    constexpr size_t kBase = kOkabeIto.size();
    static const std::array<QColor, 3 * kBase> colors = [] {
        std::array<QColor, 3 * kBase> all;
        for (size_t i = 0; i < kBase; ++i) {
            const QColor base = QColor::fromRgb(kOkabeIto[i]);
            const bool black = base == Qt::black;
            all[i] = base;
            all[i + kBase] = black ? QColor(0x80, 0x80, 0x80) : QColor(base.lighter(140).rgb());
            all[i + 2 * kBase] = black ? QColor(0x40, 0x40, 0x40) : QColor(base.darker(150).rgb());
        }
        return all;
    }();
    return colors[size_t(std::max(0, index)) % colors.size()];
}

QColor SliceColor(int index, int count) {
    if (count > 2 && index == count - 1 && SeriesColor(index) == SeriesColor(0))
        return SeriesColor(index + 1);
    return SeriesColor(index);
}

QColor TopFace(const QColor& c) {
    return c == Qt::black ? QColor(0x50, 0x50, 0x50) : QColor(c.lighter(125).rgb());
}

QColor SideFace(const QColor& c) {
    return c == Qt::black ? QColor(0x28, 0x28, 0x28) : QColor(c.darker(140).rgb());
}

QPainterPath MarkShape(int series, double size) {
    const double r = size / 2;
    QPainterPath path;
    switch (series % kMarkShapes) {
        case 0:
            path.addEllipse(QPointF(0, 0), r, r);
            break;
        case 1:
            path.addRect(-r * 0.85, -r * 0.85, r * 1.7, r * 1.7);
            break;
        case 2:
            path = RegularPolygon(3, r * 1.15, 0);
            break;
        case 3:
            path = RegularPolygon(4, r * 1.15, 0);
            break;
        case 4:
            path = RegularPolygon(3, r * 1.15, M_PI);
            break;
        default:
            path.addRect(-r, -r * 0.3, 2 * r, r * 0.6);
            path.addRect(-r * 0.3, -r, r * 0.6, 2 * r);
            path.setFillRule(Qt::WindingFill);
            break;
    }
    return path;
}

}  // namespace kolvio::chart
