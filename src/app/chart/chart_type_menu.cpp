#include "app/chart/chart_type_menu.h"

#include <QAction>

#include "app/chart/chart_widget.h"

namespace kolvio::chart {

namespace {

constexpr int kStyleUnchanged = -1;
constexpr int kStyleToggled = -2;  // between plain lines and lines with marks

struct ChartTypeItem {
    const char* name;
    const char* caption;
    int graphType;
    int graphStyle;
};

constexpr ChartTypeItem kItems[] = {
    {"MTypGraf1", "čárový", kLine, kStyleToggled},
    {"MTypGraf2", "bodový", kLine, kStylePoints},
    {"MTypGraf3", "sloupcový 2D", kBar2D, kStyleBars},
    {"MTypGraf4", "sloupcový 3D", kBar3D, kStyleBars},
    {"MTypGraf5", "rozsahový", kRange, kStyleBars},
    {"MTypGraf6", "kruhový 2D", kPie2D, kStyleUnchanged},
    {"MTypGraf7", "kruhový 3D", kPie3D, kStyleUnchanged},
};

}  // namespace

QList<QAction*> AttachChartTypeMenu(ChartWidget* chart) {
    QList<QAction*> actions;
    for (const ChartTypeItem& item : kItems) {
        auto* action = new QAction(QString::fromUtf8(item.caption), chart);
        action->setObjectName(QString::fromLatin1(item.name));
        QObject::connect(action, &QAction::triggered, chart, [chart, item] {
            chart->setGraphType(item.graphType);
            if (item.graphStyle == kStyleToggled)
                chart->setGraphStyle(chart->graphStyle() == kStylePlainLines ? kStyleMarkedLines
                                                                             : kStylePlainLines);
            else if (item.graphStyle != kStyleUnchanged)
                chart->setGraphStyle(item.graphStyle);
            chart->setDrawMode(2);
        });
        actions.append(action);
    }
    chart->setMenuActions(actions);
    return actions;
}

}  // namespace kolvio::chart
