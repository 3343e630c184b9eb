#include "app/widgets/db_grid.h"

#include <QApplication>
#include <QEvent>
#include <QFontInfo>
#include <QHeaderView>
#include <QSignalBlocker>

#include "app/message_service.h"
#include "data/database/index_helpers.h"
#include "data/table.h"

namespace kolvio {

namespace {

bool Sortable(FieldType type) {
    switch (type) {
        case FieldType::kChar:
        case FieldType::kNumeric:
        case FieldType::kFloat:
        case FieldType::kInteger:
        case FieldType::kDate:
            return true;
        case FieldType::kLogical:
        case FieldType::kMemo:
        case FieldType::kBlob:
            return false;
    }
    return false;
}

bool ShowFailure(const Status& st) {
    if (st.failed())
        ShowMsgBox(QString::fromStdString(st.message()), MsgKind::kError, MsgButtons::kOk);
    return st.ok();
}

}  // namespace

DBGrid::DBGrid(Dataset& dataset, QList<GridColumn> columns, QWidget* parent) : QTableView(parent) {
    bool editable = false;
    for (const GridColumn& c : columns)
        editable = editable || !c.readOnly;
    model_ = new DatasetModel(dataset, std::move(columns), this);
    setModel(model_);
    setSelectionBehavior(editable ? QAbstractItemView::SelectItems : QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(editable
                        ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed
                        : QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setTabKeyNavigation(editable);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setStretchLastSection(true);
    fontSize_ = QFontInfo(font()).pointSizeF();
    // The widths follow the weights, however narrow a column gets.
    horizontalHeader()->setMinimumSectionSize(1);
    fitToFont();
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        emit titleClicked(column);
        if (titleSort_) SortGridByColumn(*this, column, firstDescending_);
        // Whatever ordered the rows (or refused to), the indicator tells it.
        updateSortIndicator();
    });
    connect(model_, &DatasetModel::currentRowChanged, this, &DBGrid::showCurrentRow);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        updateSortIndicator();
        showCurrentRow();
    });
    updateSortIndicator();
    showCurrentRow();
}

void DBGrid::setRowIndicator(bool shown) {
    verticalHeader()->setVisible(shown);
    fitToFont();
}

void DBGrid::fitToFont() {
    const int line = fontMetrics().height();
    QHeaderView* rows = verticalHeader();
    const int height = line + line * 2 / 5;
    if (rows->defaultSectionSize() != height) {
        // The header tells the view of each row's new height one by one; over
        // a million rides that is the whole cost of opening a screen. Every
        // row takes the same height, so the view is told once, after.
        const QSignalBlocker quiet(rows);
        rows->setDefaultSectionSize(height);
    }
    rows->setFixedWidth(line + 4);
    updateGeometries();
    viewport()->update();
    rows->viewport()->update();
    applyWeights();
}

void DBGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() != QEvent::FontChange) return;
    scaleColumnsToFont();
    fitToFont();
}

void DBGrid::scaleColumnsToFont() {
    const qreal size = QFontInfo(font()).pointSizeF();
    // Weighted columns follow the grid's width instead.
    if (fontSize_ > 0 && size > 0 && size != fontSize_ && weightTotal_ <= 0) {
        const qreal ratio = size / fontSize_;
        for (int c = 0; c < model_->columnCount(); ++c)
            setColumnWidth(c, qRound(columnWidth(c) * ratio));
    }
    fontSize_ = size;
}

qreal DBGrid::fontScale() const {
    const qreal normal = QFontInfo(QApplication::font(this)).pointSizeF();
    const qreal size = QFontInfo(font()).pointSizeF();
    return normal > 0 && size > 0 ? size / normal : 1.0;
}

void DBGrid::updateSortIndicator() {
    QHeaderView* header = horizontalHeader();
    const Table* table = model_->table();
    const std::string order = table && table->isOpen() ? table->indexName() : std::string();
    for (int c = 0; c < model_->columnCount() && !order.empty(); ++c) {
        const int f = model_->fieldIndex(c);
        if (f < 0) continue;
        const std::string& field = table->fields()[f].name;
        const bool descending = EqualsIgnoreCase(order, "_" + field);
        if (descending || EqualsIgnoreCase(order, field)) {
            header->setSortIndicator(c, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
            header->setSortIndicatorShown(true);
            return;
        }
    }
    header->setSortIndicatorShown(false);
    header->setSortIndicator(-1, Qt::AscendingOrder);
}

void DBGrid::setTitleSort(bool enabled, bool firstDescending) {
    titleSort_ = enabled;
    firstDescending_ = firstDescending;
}

void DBGrid::setColumnWeights(QList<int> weights, int total) {
    weights_ = std::move(weights);
    weightTotal_ = total;
    applyWeights();
}

void DBGrid::applyWeights() {
    if (weightTotal_ <= 0) return;
    const int width = viewport()->width();
    for (int i = 0; i < weights_.size() && i < model_->columnCount(); ++i) {
        setColumnWidth(i,
                       static_cast<int>(static_cast<qint64>(weights_[i]) * width / weightTotal_));
    }
}

void DBGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    applyWeights();
    // A grid shown, scaled or shrunk keeps its current row in view (it was
    // scrolled to while the grid still had its first size).
    if (currentIndex().isValid()) scrollTo(currentIndex());
}

void DBGrid::showCurrentRow() {
    const int row = model_->currentRow();
    if (row < 0 || syncing_) return;
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    const QModelIndex target = model_->index(row, column);
    syncing_ = true;
    if (currentIndex() != target) setCurrentIndex(target);
    // Also after a new order, when the row may have moved out of view.
    scrollTo(target);
    syncing_ = false;
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (syncing_ || !current.isValid() || current.row() == previous.row()) return;
    syncing_ = true;
    model_->setCurrentRow(current.row());
    syncing_ = false;
    // Moving may have posted a row (the model was reset) or been refused (the
    // cursor stayed): show the cursor's row either way.
    showCurrentRow();
}

bool SortGridByColumn(DBGrid& grid, int column, bool firstDescending) {
    DatasetModel* model = grid.datasetModel();
    Table* table = model->table();
    const int fieldIndex = model->fieldIndex(column);
    if (!table || !table->isOpen() || fieldIndex < 0) return false;
    const FieldLayout& field = table->fields()[fieldIndex];
    if (!Sortable(field.type)) return false;
    // Closing the table for a new index would drop a pending edit.
    if (!ShowFailure(table->post())) return false;

    const std::string& f = field.name;
    const std::string& current = table->indexName();
    bool descending = firstDescending;
    if (EqualsIgnoreCase(current, f)) {
        descending = true;
    } else if (EqualsIgnoreCase(current, "_" + f)) {
        descending = false;
    }
    const std::string name = descending ? "_" + f : f;
    // Making an index reopens the table: the row current before comes back.
    const bool hadRow = !table->isEmpty();
    const Bookmark row = table->bookmark();
    bool created = false;
    if (!IndexExists(*table, name)) {
        const QByteArray layout = grid.horizontalHeader()->saveState();
        const Status st = EnsureIndex(*table, name, f, false, descending, &created);
        grid.horizontalHeader()->restoreState(layout);
        if (!ShowFailure(st)) return created;
    }
    if (ShowFailure(table->setIndexName(name)) && hadRow && table->bookmark() != row)
        ShowFailure(table->gotoBookmark(row));
    grid.updateSortIndicator();
    return created;
}

}  // namespace kolvio
