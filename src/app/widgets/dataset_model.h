// One table model for every grid of the program: the rows of a dataset (a
// table or a query result) in its current order, filter and master range,
// one column per GridColumn.
//
// The dataset's cursor stays the one current row of the screens: the model
// tells the grid which row is current (currentRowChanged) and the grid moves
// the cursor when the rider picks a row (setCurrentRow). Edits made in the
// grid go to the dataset as edit() and setValue(); posting is the dataset's
// business (it posts when the cursor moves on, or when a screen posts).
//
// Reading rows: the model reads the rows it is asked for by position
// (Dataset::valuesAt), in blocks it keeps until the rows change, so painting
// and scrolling never move the cursor, never run a table's after-scroll
// handlers and never post an edit. The row being edited shows the edit
// buffer; every other row shows what is stored.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <functional>
#include <optional>
#include <vector>

#include "data/dataset.h"

namespace kolvio {

class Table;

struct GridColumn {
    using Formatter = std::function<QString(const Value&)>;

    GridColumn(QString field, QString title, Formatter format = {}, bool readOnly = true,
               Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
        : field(std::move(field)),
          title(std::move(title)),
          format(std::move(format)),
          readOnly(readOnly),
          alignment(alignment) {}

    QString field;  // empty for a calculated column (shown through `format`)
    QString title;
    Formatter format;  // display text; empty: the plain form (FormatValue)
    bool readOnly;
    Qt::Alignment alignment;
};

// Plain display of a value: numbers without needless decimals and with a
// point, dates as d.m.yyyy, logical values as "ANO"/"NE".
QString FormatValue(const Value& value);

// Reads typed text as a value of `field`. On failure: nullopt and a Czech
// message saying what to type.
std::optional<Value> ParseFieldText(const FieldDef& field, const QString& text, QString* error);

class DatasetModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    DatasetModel(Dataset& dataset, QList<GridColumn> columns, QObject* parent = nullptr);
    ~DatasetModel() override;

    Dataset& dataset() const { return dataset_; }
    // The dataset as a table, or null for a query result.
    Table* table() const;
    const GridColumn& column(int i) const { return columns_.at(i); }
    // The field of column i in the dataset, or -1.
    int fieldIndex(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Column titles; down the side, the row indicator: ▶ on the current
    // row, "I" while it is edited, "*" while a row is appended.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Moves to the row (which posts a pending edit of another row), puts the
    // dataset into edit and sets the field. A text that does not read as the
    // field's type, or a refusal by the table's handlers, leaves the row as it
    // was; a refusal with a message shows it.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The dataset's current row (-1 when empty or closed).
    int currentRow() const;
    // Makes `row` current; false when the dataset refused to move (the
    // pending edit of the current row could not be posted).
    bool setCurrentRow(int row);

signals:
    void currentRowChanged(int row);

private:
    void onChange(DataChange change, int field);
    void markCurrentRow();
    void resolveFields();
    void reset();
    const std::vector<Value>* row(int r) const;
    bool fetch(int r) const;
    bool editing(int r) const;
    QString text(int r, int c) const;

    Dataset& dataset_;
    QList<GridColumn> columns_;
    std::vector<int> fields_;
    Dataset::ObserverId observer_ = 0;
    bool open_ = false;   // whether the dataset was open when last reset
    int markedRow_ = -1;  // the row the indicator was last shown on
    mutable int64_t count_ = -1;
    mutable QHash<int, std::vector<Value>> cache_;
};

}  // namespace kolvio
