#include "data/sql/execution/row_collection.h"

namespace kolvio::sql {

RowCollection::RowCollection(const std::vector<SqlType>& types) {
    for (SqlType t : types)
        columns_.push_back(Column{t, {}, {}, {}, {}});
}

void RowCollection::append(const DataChunk& chunk) {
    for (size_t c = 0; c < columns_.size(); ++c) {
        Column& col = columns_[c];
        const Vector& in = chunk.columns[c];
        for (size_t i = 0; i < chunk.size; ++i) {
            const bool valid = in.isValid(i);
            col.valid.push_back(valid ? 1 : 0);
            if (col.type == SqlType::kText) {
                if (valid) col.texts += in.text(i);
                col.ends.push_back(col.texts.size());
            } else {
                col.numbers.push_back(valid ? in.number(i) : 0);
            }
        }
    }
    rows_ += chunk.size;
}

void RowCollection::keepColumns(size_t count) {
    if (count < columns_.size()) columns_.resize(count);
}

std::string_view RowCollection::text(size_t c, size_t r) const {
    const Column& col = columns_[c];
    const uint64_t begin = r == 0 ? 0 : col.ends[r - 1];
    return std::string_view(col.texts).substr(begin, col.ends[r] - begin);
}

void RowCollection::gather(size_t c, const uint32_t* sel, size_t n, Vector* out) const {
    const Column& col = columns_[c];
    *out = Vector(col.type);
    out->resize(n);
    for (size_t k = 0; k < n; ++k) {
        const uint32_t r = sel[k];
        if (!col.valid[r]) {
            out->setNull(k);
        } else if (col.type == SqlType::kText) {
            out->setText(k, std::string(text(c, r)));
        } else {
            out->setNumber(k, col.numbers[r]);
        }
    }
}

ColumnData RowCollection::toColumnData(const std::vector<uint32_t>& order) const {
    std::vector<SqlType> types;
    for (const Column& col : columns_)
        types.push_back(col.type);
    ColumnData data(types);
    for (size_t c = 0; c < columns_.size(); ++c)
        gather(c, order.data(), order.size(), &data.columns[c]);
    data.rows = order.size();
    return data;
}

}  // namespace kolvio::sql
