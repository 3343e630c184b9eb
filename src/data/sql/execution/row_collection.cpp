#include "data/sql/execution/row_collection.h"

#include <algorithm>
#include <limits>

#include "data/sql/sql_error.h"

namespace kolvio::sql {

RowCollection::RowCollection(const std::vector<SqlType>& types) {
    for (SqlType t : types)
        columns_.push_back(Column{t, {}});
}

void RowCollection::append(const DataChunk& chunk) {
    size_t done = 0;
    while (done < chunk.size) {
        // Rows that still fit the last block, or a new block.
        const size_t room = kBlockRows - (rows_ & kRowMask);
        const size_t n = std::min(room, chunk.size - done);
        for (size_t c = 0; c < columns_.size(); ++c)
            appendColumn(columns_[c], chunk.columns[c], done, n);
        rows_ += n;
        done += n;
    }
}

void RowCollection::appendColumn(Column& column, const Vector& in, size_t from, size_t n) {
    if ((rows_ & kRowMask) == 0) {
        auto block = std::make_unique<Block>();
        block->valid.reserve(kBlockRows);
        if (column.type == SqlType::kText) {
            block->ends.reserve(kBlockRows);
        } else {
            block->numbers.reserve(kBlockRows);
        }
        column.blocks.push_back(std::move(block));
    }
    Block& b = *column.blocks.back();
    if (column.type != SqlType::kText) {
        for (size_t i = from; i < from + n; ++i) {
            const bool valid = in.isValid(i);
            b.valid.push_back(valid ? 1 : 0);
            b.numbers.push_back(valid ? in.number(i) : 0);
        }
        return;
    }
    for (size_t i = from; i < from + n; ++i) {
        const bool valid = in.isValid(i);
        b.valid.push_back(valid ? 1 : 0);
        if (valid) {
            const std::string& t = in.text(i);
            if (t.size() > std::numeric_limits<uint32_t>::max() - b.texts.size()) {
                throw SqlError(
                    "Výsledek dotazu má příliš dlouhé texty, než aby šel seřadit; "
                    "vyber méně sloupců nebo řádků.");
            }
            b.texts += t;
        }
        b.ends.push_back(static_cast<uint32_t>(b.texts.size()));
    }
}

void RowCollection::keepColumns(size_t count) {
    if (count < columns_.size()) columns_.resize(count);
}

std::string_view RowCollection::text(size_t c, size_t r) const {
    const Block& b = block(c, r);
    const size_t i = r & kRowMask;
    const uint32_t begin = i == 0 ? 0 : b.ends[i - 1];
    return std::string_view(b.texts).substr(begin, b.ends[i] - begin);
}

void RowCollection::gather(size_t c, const uint32_t* sel, size_t n, Vector* out) const {
    const SqlType type = columns_[c].type;
    *out = Vector(type);
    out->resize(n);
    for (size_t k = 0; k < n; ++k) {
        const uint32_t r = sel[k];
        if (!isValid(c, r)) {
            out->setNull(k);
        } else if (type == SqlType::kText) {
            out->setText(k, std::string(text(c, r)));
        } else {
            out->setNumber(k, number(c, r));
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
