// Pies, one per set, with their slices in the colours of the points.
#include <QMap>
#include <cmath>
#include <functional>

#include "app/chart/chart_palette.h"
#include "app/chart/paint_parts.h"

namespace kolvio::chart {

namespace {

// Slices narrower than this (along the rim) get no white outline, which
// would cover them altogether, nor smoothing; narrower than a sliver they
// are drawn as lines.
constexpr double kOutlinedArc = 4;
constexpr double kSliverArc = 1.5;
// Slices of at least this many degrees show their share in per cent.
constexpr double kLabelledAngle = 18;

// Qt counts angles anticlockwise from three o'clock; slices run clockwise
// from twelve o'clock.
double QtAngle(double clockwise) {
    return 90.0 - clockwise;
}

QPointF RimPoint(const QRectF& disc, double qtAngle) {
    const double a = qtAngle * M_PI / 180;
    return {disc.center().x() + disc.width() / 2 * std::cos(a),
            disc.center().y() - disc.height() / 2 * std::sin(a)};
}

// Points of the disc's rim from Qt angle `from` to `to`, at most two
// pixels apart.
void AppendArc(QPolygonF& polygon, const QRectF& disc, double from, double to) {
    const double length = std::abs(to - from) / 360 * M_PI * std::max(disc.width(), disc.height());
    const int steps = std::max(1, int(std::ceil(length / 2)));
    for (int i = 0; i <= steps; ++i)
        polygon.append(RimPoint(disc, from + (to - from) * i / steps));
}

// Slices (or parts of the rim) narrower than a pixel or two. A pixel can
// show one colour only, so neighbouring slivers are gathered until they
// span a pixel and drawn as one line through their middle in the colour of
// the widest of them; the lines are then stroked once per colour. This
// keeps pies of thousands of slices quick.
class Slivers {
public:
    // `line` gives the line drawn for a run from Qt angle a to b.
    Slivers(int slices, double rimLength, std::function<QLineF(double, double)> line)
        : slices_(slices), degreesPerPixel_(360 / rimLength), line_(std::move(line)) {}

    // Slice `slice` covers Qt angles a..b (a < b); false when it is too
    // wide to be a sliver and must be drawn as a shape.
    bool take(int slice, double a, double b) {
        if ((b - a) / degreesPerPixel_ >= kSliverArc) {
            flush();
            return false;
        }
        const bool adjacent = std::abs(b - from_) < 1e-9 || std::abs(a - to_) < 1e-9;
        if (widest_ >= 0 && !adjacent) flush();
        if (widest_ < 0) {
            from_ = a;
            to_ = b;
        }
        from_ = std::min(from_, a);
        to_ = std::max(to_, b);
        if (b - a > widestSpan_) {
            widest_ = slice;
            widestSpan_ = b - a;
        }
        if (to_ - from_ >= degreesPerPixel_) flush();
        return true;
    }
    void flush() {
        if (widest_ >= 0) lines_[SliceColor(widest_, slices_).rgb()].append(line_(from_, to_));
        widest_ = -1;
        widestSpan_ = 0;
    }
    void paint(QPainter& painter, QColor (*shade)(const QColor&)) {
        flush();
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        for (auto it = lines_.cbegin(); it != lines_.cend(); ++it) {
            painter.setPen(QPen(shade(QColor::fromRgb(it.key())), 1));
            painter.drawLines(it.value());
        }
        painter.restore();
    }

private:
    int slices_;
    double degreesPerPixel_;
    std::function<QLineF(double, double)> line_;
    int widest_ = -1;
    double widestSpan_ = 0;
    double from_ = 0, to_ = 0;
    QMap<QRgb, QVector<QLineF>> lines_;
};

QColor Unshaded(const QColor& c) {
    return c;
}

void SetSmoothing(QPainter& painter, bool outlined) {
    painter.setRenderHint(QPainter::Antialiasing, outlined);
    painter.setPen(outlined ? QPen(Qt::white, 1) : QPen(Qt::NoPen));
}

// The rim below the front half of a 3-D pie: for each slice, the part of
// its arc between nine and three o'clock through six (Qt's 180 to 360),
// dropped by the depth.
void PaintRim(QPainter& painter, const PieGeometry& pie, const QVector<double>& angles,
              double rimLength) {
    const QRectF lower = pie.disc.translated(0, pie.depth);
    Slivers slivers(int(angles.size()), rimLength, [&pie](double a, double b) {
        const QPointF top = RimPoint(pie.disc, (a + b) / 2);
        return QLineF(top, top + QPointF(0, pie.depth));
    });
    double start = 0;
    for (int p = 0; p < angles.size(); ++p) {
        const double from = QtAngle(start + angles[p]);  // Qt's order: from < to
        const double to = QtAngle(start);
        start += angles[p];
        if (angles[p] <= 0) continue;
        for (double turn : {-360.0, 0.0, 360.0}) {
            const double a = std::max(from + turn, 180.0);
            const double b = std::min(to + turn, 360.0);
            if (b <= a || slivers.take(p, a, b)) continue;
            QPolygonF wall;
            AppendArc(wall, pie.disc, a, b);
            AppendArc(wall, lower, b, a);
            SetSmoothing(painter, (b - a) / 360 * rimLength >= kOutlinedArc);
            painter.setBrush(SideFace(SliceColor(p, int(angles.size()))));
            painter.drawPolygon(wall);
        }
    }
    slivers.paint(painter, SideFace);
}

void PaintSlices(QPainter& painter, const PieGeometry& pie, const QVector<double>& angles,
                 double rimLength) {
    Slivers slivers(int(angles.size()), rimLength, [&pie](double a, double b) {
        return QLineF(pie.disc.center(), RimPoint(pie.disc, (a + b) / 2));
    });
    double start = 0;
    for (int p = 0; p < angles.size(); ++p) {
        if (angles[p] <= 0) continue;
        const double from = QtAngle(start + angles[p]), to = QtAngle(start);
        start += angles[p];
        if (slivers.take(p, from, to)) continue;
        QPolygonF slice{pie.disc.center()};
        AppendArc(slice, pie.disc, to, from);
        SetSmoothing(painter, angles[p] / 360 * rimLength >= kOutlinedArc);
        painter.setBrush(SliceColor(p, int(angles.size())));
        painter.drawPolygon(slice);
    }
    slivers.paint(painter, Unshaded);
}

void PaintShares(QPainter& painter, const PieGeometry& pie, const QVector<double>& angles) {
    const QPointF centre = pie.disc.center();
    double start = 0;
    for (int p = 0; p < angles.size(); ++p) {
        const double middle = (start + angles[p] / 2) * M_PI / 180;
        start += angles[p];
        if (angles[p] < kLabelledAngle) continue;
        const QPointF at(centre.x() + std::sin(middle) * pie.disc.width() * 0.33,
                         centre.y() - std::cos(middle) * pie.disc.height() * 0.33);
        const QColor fill = SliceColor(p, int(angles.size()));
        const double luminance = 0.299 * fill.redF() + 0.587 * fill.greenF() + 0.114 * fill.blueF();
        painter.setPen(luminance > 0.55 ? kTextColor : Qt::white);
        const QString text = QStringLiteral("%1 %").arg(std::lround(angles[p] / 3.6));
        painter.drawText(QRectF(at.x() - 40, at.y() - 10, 80, 20), Qt::AlignCenter, text);
    }
}

}  // namespace

void PaintPies(QPainter& painter, const ChartLayout& layout, const ChartData& data) {
    for (const PieGeometry& pie : layout.pies) {
        if (!pie.titleBox.isEmpty()) {
            painter.setPen(kTextColor);
            const QString title = painter.fontMetrics().elidedText(
                data.legends[pie.set], Qt::ElideRight, int(pie.titleBox.width()));
            painter.drawText(pie.titleBox, Qt::AlignCenter, title);
        }
        if (pie.total <= 0) {
            // Nothing to share out: the outline alone, and why.
            painter.setPen(QPen(kAxisColor, 1, Qt::DashLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(pie.disc);
            painter.setPen(kTextColor);
            painter.drawText(pie.disc, Qt::AlignCenter, QStringLiteral("žádné kladné hodnoty"));
            continue;
        }
        const QVector<double> angles = SliceAngles(data, pie.set, pie.total);
        const double rimLength = M_PI * std::max(pie.disc.width(), pie.disc.height());
        if (pie.depth > 0) PaintRim(painter, pie, angles, rimLength);
        PaintSlices(painter, pie, angles, rimLength);
        SetSmoothing(painter, true);
        PaintShares(painter, pie, angles);
    }
}

}  // namespace kolvio::chart
