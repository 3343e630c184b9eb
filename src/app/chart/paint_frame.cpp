// The axes, the point labels and the legend.
#include <QPainterPath>

#include "app/chart/chart_palette.h"
#include "app/chart/paint_parts.h"

namespace kolvio::chart {

void PaintAxes(QPainter& painter, const ChartLayout& layout) {
    const QRectF& plot = layout.plot;
    const QPointF depth = layout.depth;
    painter.setPen(QPen(kGridColor, 1));
    if (!depth.isNull()) {
        // The floor and the back wall of 3-D bars.
        const QPointF floor[] = {plot.bottomLeft(), plot.bottomRight(), plot.bottomRight() + depth,
                                 plot.bottomLeft() + depth};
        painter.setBrush(QColor(0xF4, 0xF4, 0xF4));
        painter.drawPolygon(floor, 4);
        painter.setBrush(Qt::NoBrush);
    }
    for (const auto& [y, text] : layout.ticks) {
        const QPointF left(plot.left(), y);
        painter.drawLine(left + depth, QPointF(plot.right(), y) + depth);
        if (!depth.isNull()) painter.drawLine(left, left + depth);
    }
    painter.setPen(QPen(kAxisColor, 1));
    painter.drawLine(plot.topLeft() + depth, plot.bottomLeft() + depth);
    painter.drawLine(plot.topLeft(), plot.bottomLeft());
    const double zero = layout.yOf(0);
    if (layout.scale.lo <= 0 && layout.scale.hi >= 0)
        painter.drawLine(QPointF(plot.left(), zero), QPointF(plot.right(), zero));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());

    painter.setPen(kTextColor);
    const double textHeight = painter.fontMetrics().height();
    for (const auto& [y, text] : layout.ticks) {
        const QRectF box(layout.bounds.left(), y - textHeight / 2,
                         plot.left() - layout.bounds.left() - 5, textHeight);
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, text);
    }
}

void PaintPointLabels(QPainter& painter, const ChartLayout& layout) {
    painter.setPen(kTextColor);
    for (const PlacedLabel& label : layout.labels.labels) {
        if (!layout.labels.vertical) {
            painter.drawText(label.box, Qt::AlignCenter, label.text);
            continue;
        }
        // Read from the bottom up, ending at the axis.
        painter.save();
        painter.translate(label.box.left(), label.box.top() + label.box.height());
        painter.rotate(-90);
        painter.drawText(QRectF(0, 0, label.box.height(), label.box.width()),
                         Qt::AlignRight | Qt::AlignVCenter, label.text);
        painter.restore();
    }
}

void PaintLegend(QPainter& painter, const ChartLayout& layout) {
    if (layout.legend.isEmpty()) return;
    painter.setPen(QPen(kGridColor, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(layout.legendBox);
    const bool marks = layout.kind == ChartKind::kMarkedLines || layout.kind == ChartKind::kPoints;
    const bool lines = layout.kind == ChartKind::kLines || layout.kind == ChartKind::kMarkedLines;
    for (const LegendEntry& e : layout.legend) {
        const QRectF swatch(e.box.left(), e.box.center().y() - 6, 12, 12);
        if (e.series >= 0) {
            if (lines) {
                painter.setPen(QPen(e.color, 2));
                painter.drawLine(QPointF(swatch.left(), swatch.center().y()),
                                 QPointF(swatch.right(), swatch.center().y()));
            }
            if (marks) {
                painter.fillPath(MarkShape(e.series, 9).translated(swatch.center()), e.color);
            } else if (!lines) {
                painter.fillRect(swatch, e.color);
            }
        }
        painter.setPen(kTextColor);
        painter.drawText(e.box.adjusted(18, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, e.text);
    }
}

}  // namespace kolvio::chart
