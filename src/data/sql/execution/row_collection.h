// Rows kept for ORDER BY, stored compactly.
//
// A listing sorted by date holds every row of the result until the last one
// has arrived. As Vectors, each text value would be a std::string of its own
// (32 bytes and often a heap block); here the texts of a column lie back to
// back in one buffer with their end offsets, and numbers are plain doubles,
// so a million rides of thirty columns take about the bytes of their values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/sql/execution/vector.h"

namespace kolvio::sql {

class RowCollection {
public:
    explicit RowCollection(const std::vector<SqlType>& types = {});

    void append(const DataChunk& chunk);
    size_t rows() const { return rows_; }
    size_t columnCount() const { return columns_.size(); }
    SqlType type(size_t c) const { return columns_[c].type; }
    // Keeps the first `count` columns (the visible ones) and frees the rest.
    void keepColumns(size_t count);

    bool isValid(size_t c, size_t r) const { return columns_[c].valid[r] != 0; }
    double number(size_t c, size_t r) const { return columns_[c].numbers[r]; }
    std::string_view text(size_t c, size_t r) const;

    // Makes `out` a flat vector of rows sel[0..n) of column c.
    void gather(size_t c, const uint32_t* sel, size_t n, Vector* out) const;
    // The rows in the order given, as columns.
    ColumnData toColumnData(const std::vector<uint32_t>& order) const;

private:
    struct Column {
        SqlType type;
        std::vector<uint8_t> valid;
        std::vector<double> numbers;  // number, date and logical columns
        std::string texts;            // text columns: the values back to back
        std::vector<uint64_t> ends;   // end of row r's text in `texts`
    };
    std::vector<Column> columns_;
    size_t rows_ = 0;
};

}  // namespace kolvio::sql
