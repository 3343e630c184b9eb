// The chart pages of the result viewer.
//
// "Graf-příprava" (ChartPreparationPage): the rider picks the field that
// labels the points (list "výběr pro osu X" into "popis osy X", one at most)
// and the fields drawn as data sets ("výběr pro osy Y", the summable fields,
// into "data osy Y", each once, in order), ticks "Zobrazit popis" for a
// legend and presses "Zobrazit graf". Every change of these choices is
// announced (choicesChanged), so that the viewer hides a chart drawn from
// other choices.
//
// LoadChart puts the rows of the result into the chart by its property
// sequence: DrawMode 1, NumPoints, the point labels, NumSets, per set its
// legend and values, DrawMode 2.
#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include "app/widgets/dataset_model.h"

class QCheckBox;
class QPushButton;
class QTreeWidget;

namespace kolvio {

namespace chart {
class ChartWidget;
}

// A field of the result as the chart lists show it.
struct ChartField {
    QString field;  // the field name, which the entry carries
    QString title;  // what the entry shows
};

class ChartPreparationPage final : public QWidget {
    Q_OBJECT
public:
    explicit ChartPreparationPage(QWidget* parent);

    // Offers every field of `all` for the labels and the fields of
    // `summable` for the data sets; the choices start empty.
    void offer(const QList<ChartField>& all, const QList<ChartField>& summable);

    QTreeWidget* ListView1;     // "výběr pro osu X"
    QTreeWidget* ListView4;     // "výběr pro osy Y"
    QTreeWidget* ListView3;     // "popis osy X"
    QTreeWidget* ListView2;     // "data osy Y"
    QPushButton* SpeedButton3;  // ">" the label field
    QPushButton* SpeedButton2;  // ">" value fields
    QPushButton* SpeedButton4;  // "X" removes a value field
    QCheckBox* CheckBox1;       // "Zobrazit popis"
    QPushButton* Button1;       // "Zobrazit graf"

    void SpeedButton3Click();
    void SpeedButton2Click();
    void SpeedButton4Click();

    // The chosen label field, or none.
    std::optional<ChartField> labelField() const;
    QList<ChartField> valueFields() const;
    bool legend() const;

signals:
    void choicesChanged();
};

// The largest number of points a chart takes.
int MaxChartPoints();

// Loads every row of `rows` into `chart` (the values of `values`, one set
// each; the label texts through `label`'s formatter) and draws it. The rows
// are read by position, so the dataset's cursor stays where it is. False
// when a row cannot be read or there are more rows than a chart takes.
bool LoadChart(chart::ChartWidget& chart, Dataset& rows, const GridColumn& label,
               const QList<ChartField>& values, bool legend);

}  // namespace kolvio
