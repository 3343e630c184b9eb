// Columns of rows in flight: the unit every operator consumes and produces.
//
// Numbers, dates (as day numbers) and logical values (0/1) are doubles; text
// is UTF-8. A constant vector has one value that stands for every row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/sql/binder/bound_expr.h"
#include "data/value.h"

namespace kolvio::sql {

// Rows per chunk: big enough to amortise per-chunk work, small enough that
// a chunk's columns stay in cache.
constexpr size_t kVectorSize = 2048;

class Vector {
public:
    Vector() = default;
    explicit Vector(SqlType type) : type_(type) {}
    static Vector Constant(SqlType type, const Value& value);

    SqlType type() const { return type_; }
    bool isConstant() const { return constant_; }
    size_t size() const { return valid_.size(); }

    bool isValid(size_t i) const { return valid_[at(i)] != 0; }
    double number(size_t i) const { return numbers_[at(i)]; }
    const std::string& text(size_t i) const { return texts_[at(i)]; }
    Value value(size_t i) const;

    // Writing: resize first, then set each row.
    void resize(size_t n);
    void clear() { resize(0); }
    void setNull(size_t i) { valid_[i] = 0; }
    void setNumber(size_t i, double v) {
        numbers_[i] = v;
        valid_[i] = 1;
    }
    void setText(size_t i, std::string v) {
        texts_[i] = std::move(v);
        valid_[i] = 1;
    }
    // Row i's text to be filled in place (its storage is reused); marks it valid.
    std::string* textToFill(size_t i) {
        valid_[i] = 1;
        return &texts_[i];
    }
    void set(size_t i, const Value& v);
    // Appends row i of `src` (same type).
    void append(const Vector& src, size_t i);
    // Takes the rows of `src` without copying them. `src` keeps its type
    // and gets this vector's storage, whose rows mean nothing: it is to be
    // resized and filled again.
    void take(Vector& src);
    // Makes this a flat copy of rows sel[0..n) of `src`.
    void gather(const Vector& src, const uint32_t* sel, size_t n);
    // Keeps rows sel[0..n) in place (sel ascending).
    void compact(const uint32_t* sel, size_t n);
    void reserve(size_t n);

    // Raw access for tight loops of flat vectors.
    double* numbers() { return numbers_.data(); }
    uint8_t* validity() { return valid_.data(); }
    const double* numbers() const { return numbers_.data(); }
    const uint8_t* validity() const { return valid_.data(); }
    size_t memoryBytes() const;

private:
    size_t at(size_t i) const { return constant_ ? 0 : i; }
    bool isTextType() const { return type_ == SqlType::kText; }

    SqlType type_ = SqlType::kNumber;
    bool constant_ = false;
    std::vector<double> numbers_;
    std::vector<std::string> texts_;
    std::vector<uint8_t> valid_;
};

struct DataChunk {
    std::vector<Vector> columns;
    size_t size = 0;

    void reset(const std::vector<SqlType>& types);
    // Keeps rows sel[0..n) of every column.
    void compact(const uint32_t* sel, size_t n);
};

// Rows kept whole: build sides of joins, collected results.
struct ColumnData {
    std::vector<Vector> columns;
    size_t rows = 0;

    explicit ColumnData(const std::vector<SqlType>& types = {});
    void append(const DataChunk& chunk);
    std::vector<SqlType> types() const;
    size_t memoryBytes() const;
};

}  // namespace kolvio::sql
