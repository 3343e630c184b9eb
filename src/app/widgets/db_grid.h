// A grid over a dataset: the rows of a DatasetModel, the dataset's current
// row as the grid's current row (kept in view), in-place editing of editable
// columns, and ordering by a click on a column title (SortGridByColumn) with
// the title's sort indicator showing the order. The columns reach the right
// edge: the last one takes what the others leave; scaled with the window's
// font, they keep their proportion to their text. A read-only grid is one
// Tab stop (Tab leaves it instead of walking its cells).
#pragma once

#include <QTableView>

#include "app/widgets/dataset_model.h"

namespace kolvio {

class DBGrid final : public QTableView {
    Q_OBJECT
public:
    DBGrid(Dataset& dataset, QList<GridColumn> columns, QWidget* parent = nullptr);

    DatasetModel* datasetModel() const { return model_; }
    Dataset& dataset() const { return model_->dataset(); }

    // A click on a column title orders the rows by that column (the first
    // click descending when `firstDescending`, then alternately).
    void setTitleSort(bool enabled, bool firstDescending = false);
    // Column i gets trunc(weights[i] / total * viewport width) on each
    // resize; the last column fills the rest of the width.
    void setColumnWeights(QList<int> weights, int total);
    // Shows the row indicator in a narrow column at the left.
    void setRowIndicator(bool shown);
    // The grid's font size against the program's normal one. The column
    // widths follow the font when a window is scaled, so widths kept for
    // later are divided by it and widths read back multiplied.
    qreal fontScale() const;

    // Shows the sort indicator on the column whose field orders the table
    // (ascending for the index named like the field, descending for "_" +
    // field), and none otherwise.
    void updateSortIndicator();

signals:
    void titleClicked(int column);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showCurrentRow();
    void applyWeights();
    void fitToFont();
    void scaleColumnsToFont();

    DatasetModel* model_;
    bool syncing_ = false;
    bool titleSort_ = false;
    bool firstDescending_ = false;
    QList<int> weights_;
    int weightTotal_ = 0;
    qreal fontSize_ = 0;  // the font's point size the column widths were set for
};

// Orders the grid's table by the clicked column: descending when it is
// ordered by that column now, ascending when it is ordered by it descending,
// otherwise as `firstDescending` says. The index is named like the field
// (ascending) or "_" + field (descending) and is created when missing, with
// the grid's column layout kept meanwhile; the result tells whether one was
// created. Does nothing for a query result, a calculated column or a logical
// or blob field. A pending edit of the table is posted first; when it cannot
// be, nothing is reordered.
bool SortGridByColumn(DBGrid& grid, int column, bool firstDescending);

}  // namespace kolvio
