#include "app/chart/label_placement.h"

#include <algorithm>
#include <cmath>

namespace kolvio::chart {

namespace {

// At most this many labels are measured to choose the step; the texts
// actually drawn are measured again, so the choice never causes overlap.
constexpr int kSampledLabels = 256;

// The smallest of 1, 2, 5, 10, 20, 50 ... whose slots span `needed`.
int RoundStep(double needed, double slotWidth, int count) {
    for (long k = 1;; k *= 10) {
        for (long m : {1L, 2L, 5L}) {
            if (k * m >= count || k * m * slotWidth >= needed)
                return int(std::min<long>(k * m, count));
        }
    }
}

}  // namespace

LabelPlacement PlaceLabels(const QStringList& labels, double left, double slotWidth, double top,
                           double minX, double maxX, const QFontMetricsF& metrics,
                           double maxTextLength) {
    LabelPlacement placement;
    const int count = int(labels.size());
    if (count == 0 || slotWidth <= 0 || maxX <= minX) return placement;
    const double gap = std::max(6.0, metrics.averageCharWidth() * 1.5);
    const double lineHeight = metrics.height();
    maxTextLength = std::max(maxTextLength, metrics.averageCharWidth() * 3);

    double widest = 0;
    const int sampleStep = std::max(1, count / kSampledLabels);
    for (int i = 0; i < count; i += sampleStep)
        widest = std::max(widest, std::min(metrics.horizontalAdvance(labels[i]), maxTextLength));

    const int across = RoundStep(widest + gap, slotWidth, count);
    const int upright = RoundStep(lineHeight + gap, slotWidth, count);
    placement.vertical = upright < across;
    const int step = placement.vertical ? upright : across;

    double lastRight = -1e300;
    for (int i = 0; i < count; i += step) {
        const QString text = metrics.elidedText(labels[i], Qt::ElideRight, maxTextLength);
        const double width = metrics.horizontalAdvance(text);
        const double x = left + (i + 0.5) * slotWidth;
        QRectF box = placement.vertical ? QRectF(x - lineHeight / 2, top, lineHeight, width)
                                        : QRectF(x - width / 2, top, width, lineHeight);
        if (box.left() < minX) box.moveLeft(minX);
        if (box.right() > maxX) box.moveRight(maxX);
        if (box.left() < minX || box.left() < lastRight + gap) continue;
        lastRight = box.right();
        placement.bandHeight = std::max(placement.bandHeight, box.height());
        placement.labels.append({i, text, box});
    }
    return placement;
}

}  // namespace kolvio::chart
