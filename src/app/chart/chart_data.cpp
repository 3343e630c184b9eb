#include "app/chart/chart_data.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace kolvio::chart {

ChartKind KindOf(int graphType, int graphStyle) {
    switch (graphType) {
        case kPie2D:
            return ChartKind::kPie2D;
        case kPie3D:
            return ChartKind::kPie3D;
        case kBar3D:
            return ChartKind::kBars3D;
        case kRange:
            return ChartKind::kRange;
        case kLine:
            if (graphStyle == kStylePoints) return ChartKind::kPoints;
            if (graphStyle == kStylePlainLines) return ChartKind::kLines;
            return ChartKind::kMarkedLines;
        default:
            return ChartKind::kBars2D;
    }
}

bool ChartData::hasLegend() const {
    for (const QString& text : legends) {
        if (!text.isEmpty()) return true;
    }
    return false;
}

ChartData GraphProperties::snapshot() const {
    ChartData copy = data_;
    for (const QString& text : copy.labels) {
        if (!text.isEmpty()) return copy;
    }
    for (int p = 0; p < copy.numPoints; ++p)
        copy.labels[p] = QString::number(p + 1);
    return copy;
}

bool GraphProperties::setDrawMode(int mode) {
    if (mode != 1 && mode != 2) return false;
    drawMode_ = mode;
    return mode == 2;
}

void GraphProperties::resize(int points, int sets) {
    std::vector<double> values(size_t(points) * sets, 0.0);
    for (int s = 0; s < std::min(sets, data_.numSets); ++s) {
        for (int p = 0; p < std::min(points, data_.numPoints); ++p)
            values[size_t(s) * points + p] = data_.value(s, p);
    }
    data_.values.swap(values);
    data_.labels.resize(points);
    data_.legends.resize(sets);
    data_.numPoints = points;
    data_.numSets = sets;
    if (thisPoint_ > points) thisPoint_ = 0;
    if (thisSet_ > sets) thisSet_ = 0;
}

void GraphProperties::setNumPoints(int count) {
    if (count < 0 || count > kMaxPoints || long(count) * data_.numSets > kMaxValues) return;
    resize(count, data_.numSets);
}

void GraphProperties::setNumSets(int count) {
    if (count < 0 || count > kMaxSets || long(count) * data_.numPoints > kMaxValues) return;
    resize(data_.numPoints, count);
}

void GraphProperties::setThisSet(int set) {
    thisSet_ = set >= 1 && set <= data_.numSets ? set : 0;
}

void GraphProperties::setThisPoint(int point) {
    thisPoint_ = point >= 1 && point <= data_.numPoints ? point : 0;
}

void GraphProperties::setGraphData(double value) {
    if (thisSet_ == 0 || thisPoint_ == 0) return;
    if (std::isnan(value)) value = 0;
    value = std::clamp(value, double(-FLT_MAX), double(FLT_MAX));
    data_.values[size_t(thisSet_ - 1) * data_.numPoints + (thisPoint_ - 1)] = value;
}

void GraphProperties::setGraphType(int type) {
    if (type >= kPie2D && type <= kLine) data_.graphType = type;
}

void GraphProperties::setGraphStyle(int style) {
    data_.graphStyle = style;
}

void GraphProperties::setLabelText(int index, const QString& text) {
    if (index >= 1 && index <= data_.numPoints) data_.labels[index - 1] = text;
}

void GraphProperties::setLegend(int index, const QString& text) {
    if (index >= 1 && index <= data_.numSets) data_.legends[index - 1] = text;
}

void GraphProperties::setLegendText(const QString& text) {
    if (thisSet_ != 0) {
        data_.legends[thisSet_ - 1] = text;
        return;
    }
    // Without a current set the text stands for every legend, which is how
    // an empty text turns the legend off.
    for (QString& legend : data_.legends)
        legend = text;
}

}  // namespace kolvio::chart
