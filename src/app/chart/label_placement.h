// Placing the point labels under the x axis so that none overlaps another.
#pragma once

#include <QFontMetricsF>
#include <QRectF>
#include <QStringList>
#include <QVector>

namespace kolvio::chart {

struct PlacedLabel {
    int point = 0;
    QString text;  // elided to the longest text allowed
    QRectF box;    // the area the text covers on the picture
};

struct LabelPlacement {
    bool vertical = false;  // read upwards, one label per narrow slot
    double bandHeight = 0;  // the height the labels need under the axis
    QVector<PlacedLabel> labels;
};

// Slot i of `labels.size()` slots of `slotWidth` starting at `left` is
// centred at left + (i + 0.5) * slotWidth. Labels are laid horizontally
// when every k-th label fits side by side for no larger k than vertical
// text needs, otherwise vertically; k is 1, 2, 5, 10, 20, 50 ... so the
// labelled points fall on round numbers. No label box leaves minX..maxX,
// and two boxes are always at least a small gap apart, whatever the
// lengths of the texts. Texts are elided to maxTextLength.
LabelPlacement PlaceLabels(const QStringList& labels, double left, double slotWidth, double top,
                           double minX, double maxX, const QFontMetricsF& metrics,
                           double maxTextLength);

}  // namespace kolvio::chart
