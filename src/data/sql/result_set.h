// The rows of a select, read like a read-only table.
//
// All rows are held in memory, in result order, so record count, moves in
// both directions and positioning by row number are immediate. The field
// list is made of valid dBase field definitions (see binder/result_fields.h),
// so a table created from fieldDefs() takes every row of the result.
#pragma once

#include <cstdint>
#include <vector>

#include "data/dataset.h"
#include "data/sql/execution/vector.h"

namespace kolvio::sql {

class ResultSet final : public Dataset {
public:
    // `order` lists the row numbers of `rows` in result order; empty means
    // the rows are in order already.
    ResultSet(const std::vector<FieldDef>& fields, ColumnData rows,
              std::vector<uint32_t> order = {});

    bool isOpen() const override { return open_; }
    DatasetState state() const override {
        return open_ ? DatasetState::kBrowse : DatasetState::kInactive;
    }
    const std::vector<FieldLayout>& fields() const override { return fields_; }
    std::vector<FieldDef> fieldDefs() const;

    int64_t recordCount() override { return open_ ? static_cast<int64_t>(count_) : 0; }
    Status first() override;
    Status last() override;
    Status next() override;
    Status prior() override;
    bool eof() const override { return eof_; }
    bool bof() const override { return bof_; }
    int64_t rowNumber() override { return count_ == 0 || !open_ ? -1 : row_; }
    Status moveToRow(int64_t row) override;
    Value value(int index) const override;
    using Dataset::value;

    Status valuesAt(int64_t row, const std::vector<int>& fields, std::vector<Value>* out) override;

    // Random access without moving the cursor; row in result order.
    Value valueAt(int64_t row, int field) const;
    int64_t size() const { return static_cast<int64_t>(count_); }
    // The rows in storage order (for caching small results).
    const ColumnData& rows() const { return rows_; }
    // Frees the rows; the dataset reads as closed afterwards.
    void close();

private:
    Status closedError() const;
    void moved();

    std::vector<FieldLayout> fields_;
    ColumnData rows_;
    std::vector<uint32_t> order_;
    size_t count_ = 0;
    bool open_ = true;
    int64_t row_ = 0;
    bool eof_ = true;
    bool bof_ = true;
};

}  // namespace kolvio::sql
