// The chart of the result viewer.
//
// It knows nothing of tables: the viewer loads it through the property
// sequence of GraphProperties (chart_data.h) and DrawMode 2 draws it once.
// Its context menu holds the actions the viewer attaches (the chart-type
// menu) and "Uložit jako obrázek..."; resting the mouse on a bar, mark or
// slice shows the point's label and value.
#pragma once

#include <QWidget>
#include <optional>

#include "app/chart/chart_data.h"
#include "app/chart/chart_layout.h"

class QAction;

namespace kolvio::chart {

class ChartWidget final : public QWidget {
    Q_OBJECT
public:
    explicit ChartWidget(QWidget* parent = nullptr);

    // The property sequence; only DrawMode 2 changes the picture.
    void setDrawMode(int mode);
    int drawMode() const { return properties_.drawMode(); }
    void setNumPoints(int count) { properties_.setNumPoints(count); }
    void setNumSets(int count) { properties_.setNumSets(count); }
    void setThisSet(int set) { properties_.setThisSet(set); }
    void setThisPoint(int point) { properties_.setThisPoint(point); }
    void setGraphData(double value) { properties_.setGraphData(value); }
    void setGraphType(int type) { properties_.setGraphType(type); }
    int graphType() const { return properties_.graphType(); }
    void setGraphStyle(int style) { properties_.setGraphStyle(style); }
    int graphStyle() const { return properties_.graphStyle(); }
    void setLabelText(int index, const QString& text) { properties_.setLabelText(index, text); }
    void setLegend(int index, const QString& text) { properties_.setLegend(index, text); }
    void setLegendText(const QString& text) { properties_.setLegendText(text); }

    // What the last DrawMode 2 took; nothing before the first.
    const std::optional<ChartData>& shown() const { return shown_; }
    // The layout of the shown chart at the widget's size.
    const ChartLayout& currentLayout() const;

    // Actions put first in the context menu, before saving.
    void setMenuActions(const QList<QAction*>& actions) { menuActions_ = actions; }
    QAction* saveAction() const { return saveAction_; }
    // Asks for a file name and saves the shown chart; a file that cannot
    // be written is reported and the rider may try again.
    void saveAsPicture();
    // The size pictures are saved at: the widget's, at least 1200 wide.
    QSize pictureSize() const;

    QSize sizeHint() const override { return {640, 420}; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    GraphProperties properties_;
    std::optional<ChartData> shown_;
    mutable std::optional<ChartLayout> layout_;  // dropped on resize and draw
    QList<QAction*> menuActions_;
    QAction* saveAction_;
    QString lastSavePath_;
};

}  // namespace kolvio::chart
