// Loading a chart through the property sequence the result viewer uses,
// and reading the drawn picture back.
#pragma once

#include <QImage>
#include <QVector>
#include <cstdlib>

#include "app/chart/chart_data.h"
#include "app/chart/chart_layout.h"

namespace kolvio::chart::testing {

using Series = QVector<double>;

// DrawMode 1, NumPoints, the labels, NumSets, each set's legend and values
// by ThisSet / ThisPoint / GraphData, the type and style, DrawMode 2.
template <class Target>
void Load(Target& chart, const QVector<Series>& sets, int type, int style = 0,
          const QStringList& labels = {}, const QStringList& legends = {}) {
    const int points = sets.isEmpty() ? 0 : int(sets[0].size());
    chart.setDrawMode(1);
    chart.setNumPoints(points);
    for (int p = 0; p < labels.size(); ++p)
        chart.setLabelText(p + 1, labels[p]);
    chart.setNumSets(int(sets.size()));
    for (int s = 0; s < sets.size(); ++s) {
        chart.setThisSet(s + 1);
        if (s < legends.size())
            chart.setLegend(s + 1, legends[s]);
        else
            chart.setLegendText(QString());
        for (int p = 0; p < points; ++p) {
            chart.setThisPoint(p + 1);
            chart.setGraphData(sets[s][p]);
        }
    }
    chart.setGraphType(type);
    chart.setGraphStyle(style);
    chart.setDrawMode(2);
}

inline ChartData Loaded(const QVector<Series>& sets, int type, int style = 0,
                        const QStringList& labels = {}, const QStringList& legends = {}) {
    GraphProperties properties;
    Load(properties, sets, type, style, labels, legends);
    return properties.snapshot();
}

inline QColor Pixel(const QImage& image, double x, double y) {
    return image.pixelColor(int(x), int(y));
}

// Within the smoothing of an edge: each channel off by at most `tolerance`.
inline bool Near(const QColor& a, const QColor& b, int tolerance = 12) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// How many pixels of `color` run upwards (dy -1) or downwards (dy 1) in
// column x from row y.
inline int RunLength(const QImage& image, double x, double y, const QColor& color, int dy) {
    int n = 0;
    for (int row = int(y); row >= 0 && row < image.height(); row += dy, ++n) {
        if (image.pixelColor(int(x), row) != color) break;
    }
    return n;
}

// Pixels of about `color` within `radius` of (x, y).
inline int CountAround(const QImage& image, QPointF at, int radius, const QColor& color) {
    int n = 0;
    for (int y = int(at.y()) - radius; y <= int(at.y()) + radius; ++y) {
        for (int x = int(at.x()) - radius; x <= int(at.x()) + radius; ++x)
            n += image.valid(x, y) && Near(image.pixelColor(x, y), color, 24);
    }
    return n;
}

}  // namespace kolvio::chart::testing
