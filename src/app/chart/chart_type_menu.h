// The popup menu "typ grafu" of the chart: seven kinds of chart.
#pragma once

#include <QList>
#include <QObject>

class QAction;

namespace kolvio::chart {

class ChartWidget;

// The actions MTypGraf1 to MTypGraf7, owned by the chart and put into its
// context menu. Each sets GraphType and GraphStyle as below and then
// DrawMode 2:
//   "čárový"        6, style 5 when it is 4 now, else 4 (each click toggles)
//   "bodový"        6, 1
//   "sloupcový 2D"  3, 0
//   "sloupcový 3D"  4, 0
//   "rozsahový"     5, 0
//   "kruhový 2D"    1, style unchanged
//   "kruhový 3D"    2, style unchanged
QList<QAction*> AttachChartTypeMenu(ChartWidget* chart);

}  // namespace kolvio::chart
