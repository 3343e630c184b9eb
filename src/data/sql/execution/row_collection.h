// Rows kept for ORDER BY, stored compactly.
//
// A listing sorted by date holds every row of the result until the last one
// has arrived. As Vectors, each text value would be a std::string of its own
// (32 bytes and often a heap block); here the texts of a column lie back to
// back with their end offsets, and numbers are plain doubles, so a million
// rides of thirty columns take about the bytes of their values. The rows are
// kept in blocks of a fixed number of rows, so that collecting never moves
// what is already collected, as one growing array per column would.
#pragma once

#include <cstdint>
#include <memory>
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

    bool isValid(size_t c, size_t r) const { return block(c, r).valid[r & kRowMask] != 0; }
    double number(size_t c, size_t r) const { return block(c, r).numbers[r & kRowMask]; }
    std::string_view text(size_t c, size_t r) const;

    // Makes `out` a flat vector of rows sel[0..n) of column c.
    void gather(size_t c, const uint32_t* sel, size_t n, Vector* out) const;
    // The rows in the order given, as columns.
    ColumnData toColumnData(const std::vector<uint32_t>& order) const;

private:
    static constexpr size_t kRowBits = 12;
    static constexpr size_t kBlockRows = size_t{1} << kRowBits;
    static constexpr size_t kRowMask = kBlockRows - 1;

    struct Block {
        std::vector<uint8_t> valid;
        std::vector<double> numbers;  // number, date and logical columns
        std::string texts;            // text columns: the values back to back
        std::vector<uint32_t> ends;   // end of each row's text in `texts`
    };
    struct Column {
        SqlType type;
        std::vector<std::unique_ptr<Block>> blocks;
    };
    const Block& block(size_t c, size_t r) const { return *columns_[c].blocks[r >> kRowBits]; }
    void appendColumn(Column& column, const Vector& in, size_t from, size_t n);

    std::vector<Column> columns_;
    size_t rows_ = 0;
};

}  // namespace kolvio::sql
