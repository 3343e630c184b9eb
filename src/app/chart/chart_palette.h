// Colours and point marks that riders with colour-blindness tell apart.
#pragma once

#include <QColor>
#include <QPainterPath>

namespace kolvio::chart {

// The Okabe-Ito colours, most distinct first; past the eighth series the
// colours return lighter, then darker.
QColor SeriesColor(int index);
// The colour of slice `index` of a pie of `count` slices: as SeriesColor,
// except that the last slice never shares the first one's colour, since
// the two touch.
QColor SliceColor(int index, int count);
// Shades of a colour for the faces of 3-D shapes.
QColor TopFace(const QColor& c);
QColor SideFace(const QColor& c);

// A mark of its own shape for each series (circle, square, triangle,
// diamond, ...), centred on 0,0 and `size` across.
QPainterPath MarkShape(int series, double size);

}  // namespace kolvio::chart
