#include "app/chart/chart_painter.h"

#include "app/chart/paint_parts.h"

namespace kolvio::chart {

void PaintChart(QPainter& painter, const ChartLayout& layout, const ChartData& data) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(layout.font);
    painter.fillRect(layout.bounds, Qt::white);
    if (data.isEmpty()) {
        painter.setPen(kTextColor);
        painter.drawText(layout.bounds, Qt::AlignCenter, QStringLiteral("Graf nemá žádná data."));
        painter.restore();
        return;
    }
    switch (layout.kind) {
        case ChartKind::kPie2D:
        case ChartKind::kPie3D:
            PaintPies(painter, layout, data);
            break;
        case ChartKind::kBars2D:
        case ChartKind::kBars3D:
            PaintAxes(painter, layout);
            PaintBars(painter, layout, data);
            break;
        case ChartKind::kRange:
            PaintAxes(painter, layout);
            PaintRanges(painter, layout, data);
            break;
        case ChartKind::kLines:
        case ChartKind::kMarkedLines:
        case ChartKind::kPoints:
            PaintAxes(painter, layout);
            PaintLines(painter, layout, data);
            break;
    }
    if (!layout.isPie()) PaintPointLabels(painter, layout);
    PaintLegend(painter, layout);
    painter.restore();
}

QImage RenderChart(const ChartData& data, const QSize& size, const QFont& font) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    PaintChart(painter, LayOutChart(data, QRectF(QPointF(0, 0), size), font), data);
    return image;
}

}  // namespace kolvio::chart
