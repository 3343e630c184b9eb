#include "app/widgets/dataset_model.h"

#include <QLocale>
#include <cmath>

#include "app/message_service.h"
#include "data/table.h"

namespace kolvio {

namespace {

// Rows are read in blocks around the one asked for; at most kCacheLimit
// rows are kept.
constexpr int64_t kBlock = 128;
constexpr int kCacheLimit = 4096;

QString DateText(const Date& d) {
    return QStringLiteral("%1.%2.%3").arg(d.day()).arg(d.month()).arg(d.year());
}

}  // namespace

QString FormatValue(const Value& v) {
    if (v.isText()) return QString::fromStdString(v.asText());
    if (v.isBool()) return v.asBool() ? QStringLiteral("ANO") : QStringLiteral("NE");
    if (v.isDate()) return DateText(v.asDate());
    if (v.isNumber()) {
        const double d = v.asDouble();
        if (std::isfinite(d) && std::floor(d) == d && std::fabs(d) < 1e15) {
            return QString::number(static_cast<qlonglong>(d));
        }
        return QString::number(d, 'g', 15);
    }
    return {};
}

std::optional<Value> ParseFieldText(const FieldDef& field, const QString& typed, QString* error) {
    const QString text = typed.trimmed();
    switch (field.type) {
        case FieldType::kChar:
        case FieldType::kMemo:
            if (field.type == FieldType::kChar && typed.size() > field.length) {
                *error = QStringLiteral("Text je delší než %1 znaků.\nZkrať ho.").arg(field.length);
                return std::nullopt;
            }
            return Value(typed.toStdString());
        case FieldType::kNumeric:
        case FieldType::kFloat:
        case FieldType::kInteger: {
            if (text.isEmpty()) return Value();
            bool ok = false;
            const double d = QLocale::c().toDouble(text, &ok);
            if (!ok || !std::isfinite(d)) {
                *error = QStringLiteral(
                             "\"%1\" není číslo.\nZadej číslo, desetinná místa odděl "
                             "tečkou (například 12.5).")
                             .arg(text);
                return std::nullopt;
            }
            if (field.type == FieldType::kInteger && std::floor(d) != d) {
                *error = QStringLiteral("\"%1\" není celé číslo.\nZadej celé číslo.").arg(text);
                return std::nullopt;
            }
            return Value(d);
        }
        case FieldType::kDate: {
            if (text.isEmpty()) return Value();
            const QStringList parts = text.split(u'.');
            std::optional<Date> date;
            if (parts.size() == 3) {
                bool d = false, m = false, y = false;
                date = Date::FromYmd(parts[2].toInt(&y), parts[1].toInt(&m), parts[0].toInt(&d));
                if (!d || !m || !y) date.reset();
            }
            if (!date) {
                *error = QStringLiteral(
                             "\"%1\" není datum.\nZadej datum ve tvaru den.měsíc.rok "
                             "(například 24.5.2003).")
                             .arg(text);
                return std::nullopt;
            }
            return Value(*date);
        }
        case FieldType::kLogical: {
            const QString t = text.toUpper();
            if (t.isEmpty()) return Value();
            if (t == u"ANO" || t == u"A" || t == u"T" || t == u"1") return Value(true);
            if (t == u"NE" || t == u"N" || t == u"F" || t == u"0") return Value(false);
            *error = QStringLiteral("\"%1\" není ANO ani NE.\nZadej ANO, nebo NE.").arg(text);
            return std::nullopt;
        }
        case FieldType::kBlob:
            break;
    }
    *error = QStringLiteral("Toto pole nelze upravit zápisem textu.");
    return std::nullopt;
}

DatasetModel::DatasetModel(Dataset& dataset, QList<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), dataset_(dataset), columns_(std::move(columns)) {
    resolveFields();
    open_ = dataset_.isOpen();
    observer_ = dataset_.addObserver([this](DataChange c, int f) { onChange(c, f); });
}

DatasetModel::~DatasetModel() {
    dataset_.removeObserver(observer_);
}

Table* DatasetModel::table() const {
    return dynamic_cast<Table*>(&dataset_);
}

int DatasetModel::fieldIndex(int column) const {
    return column >= 0 && column < static_cast<int>(fields_.size()) ? fields_[column] : -1;
}

void DatasetModel::resolveFields() {
    fields_.clear();
    for (const GridColumn& c : columns_) {
        fields_.push_back(c.field.isEmpty() ? -1 : dataset_.fieldIndex(c.field.toStdString()));
    }
}

void DatasetModel::reset() {
    beginResetModel();
    resolveFields();
    cache_.clear();
    count_ = -1;
    markedRow_ = -1;
    open_ = dataset_.isOpen();
    endResetModel();
}

void DatasetModel::onChange(DataChange change, int field) {
    switch (change) {
        case DataChange::kScrolled:
            markCurrentRow();
            emit currentRowChanged(currentRow());
            break;
        case DataChange::kDataChanged:
            reset();
            break;
        case DataChange::kFieldChanged: {
            const int r = currentRow();
            if (r < 0) break;
            for (int c = 0; c < columnCount(); ++c) {
                if (fields_[c] == field || fields_[c] < 0)
                    emit dataChanged(index(r, c), index(r, c));
            }
            break;
        }
        case DataChange::kStateChanged:
            if (dataset_.isOpen() != open_) {
                reset();  // opened (perhaps with other fields) or closed
            } else if (const int r = currentRow(); r >= 0) {
                emit dataChanged(index(r, 0), index(r, columnCount() - 1));
            }
            markCurrentRow();
            emit currentRowChanged(currentRow());
            break;
    }
}

void DatasetModel::markCurrentRow() {
    // The row indicator: the mark leaves the old row and comes to the new one.
    const int r = currentRow();
    if (r != markedRow_) {
        if (markedRow_ >= 0 && markedRow_ < rowCount())
            emit headerDataChanged(Qt::Vertical, markedRow_, markedRow_);
        markedRow_ = r;
    }
    if (r >= 0) emit headerDataChanged(Qt::Vertical, r, r);
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    if (count_ < 0) count_ = dataset_.isOpen() ? dataset_.recordCount() : 0;
    return static_cast<int>(count_);
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

bool DatasetModel::fetch(int r) const {
    if (!dataset_.isOpen()) return false;
    const int64_t n = rowCount();
    const int64_t first = std::max<int64_t>(0, r - kBlock / 2);
    const int64_t end = std::min(n, first + kBlock);
    if (cache_.size() + (end - first) > kCacheLimit) cache_.clear();
    std::vector<Value> values;
    for (int64_t i = first; i < end; ++i) {
        if (cache_.contains(static_cast<int>(i))) continue;
        // A row that cannot be read shows empty; the store reports the
        // damage when the rider moves onto it.
        if (!dataset_.valuesAt(i, fields_, &values).ok()) values.assign(fields_.size(), Value());
        cache_.insert(static_cast<int>(i), std::move(values));
    }
    return cache_.contains(r);
}

const std::vector<Value>* DatasetModel::row(int r) const {
    auto it = cache_.constFind(r);
    if (it == cache_.constEnd()) {
        if (!fetch(r)) return nullptr;
        it = cache_.constFind(r);
    }
    return &it.value();
}

bool DatasetModel::editing(int r) const {
    // An appended row is not among the stored rows yet: only an edited one
    // stands in its place.
    return dataset_.state() == DatasetState::kEdit && r == currentRow();
}

QString DatasetModel::text(int r, int c) const {
    Value v;
    if (editing(r)) {
        // The row being edited shows the edit buffer.
        v = fields_[c] < 0 ? Value() : dataset_.value(fields_[c]);
    } else if (const std::vector<Value>* values = row(r)) {
        v = (*values)[c];
    } else {
        return {};
    }
    const GridColumn& col = columns_.at(c);
    return col.format ? col.format(v) : FormatValue(v);
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return text(index.row(), index.column());
        case Qt::EditRole: {
            const int f = fields_[index.column()];
            if (f < 0) return {};
            if (editing(index.row())) return FormatValue(dataset_.value(f));
            const std::vector<Value>* values = row(index.row());
            return values ? FormatValue((*values)[index.column()]) : QString();
        }
        case Qt::TextAlignmentRole:
            return static_cast<int>(columns_.at(index.column()).alignment);
        default:
            return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical && section >= 0 && section < rowCount()) {
        if (role == Qt::TextAlignmentRole) return static_cast<int>(Qt::AlignCenter);
        if (role != Qt::DisplayRole) return {};
        if (section != currentRow()) return QString();
        switch (dataset_.state()) {
            case DatasetState::kEdit:
                return QStringLiteral("I");
            case DatasetState::kInsert:
                return QStringLiteral("*");
            default:
                return QString(QChar(0x25B6));  // ▶
        }
    }
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole) return columns_.at(section).title;
    if (role == Qt::TextAlignmentRole) return static_cast<int>(Qt::AlignCenter);
    return {};
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && !columns_.at(index.column()).readOnly && fields_[index.column()] >= 0 &&
        table()) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    Table* t = table();
    const FieldLayout& field = t->fields()[fields_[index.column()]];
    QString error;
    const std::optional<Value> parsed = ParseFieldText(field, value.toString(), &error);
    if (!parsed) {
        ShowMsgBox(error, MsgKind::kWarning, MsgButtons::kOk);
        return false;
    }
    if (!setCurrentRow(index.row())) return false;
    Status st = t->edit();
    if (st.ok()) st = t->setValue(fields_[index.column()], *parsed);
    if (st.failed())
        ShowMsgBox(QString::fromStdString(st.message()), MsgKind::kError, MsgButtons::kOk);
    return st.ok();
}

int DatasetModel::currentRow() const {
    if (!dataset_.isOpen()) return -1;
    const int64_t r = dataset_.rowNumber();
    return r < rowCount() ? static_cast<int>(r) : -1;
}

bool DatasetModel::setCurrentRow(int row) {
    if (row == currentRow()) return true;
    const Status st = dataset_.moveToRow(row);
    if (st.failed())
        ShowMsgBox(QString::fromStdString(st.message()), MsgKind::kError, MsgButtons::kOk);
    if (!st.ok()) {
        emit currentRowChanged(currentRow());
        return false;
    }
    return true;
}

}  // namespace kolvio
