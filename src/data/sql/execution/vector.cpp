#include "data/sql/execution/vector.h"

#include <utility>

namespace kolvio::sql {

Vector Vector::Constant(SqlType type, const Value& value) {
    Vector v(type);
    v.resize(1);
    v.set(0, value);
    v.constant_ = true;
    return v;
}

Value Vector::value(size_t i) const {
    if (!isValid(i)) return Value();
    switch (type_) {
        case SqlType::kNumber:
            return Value(number(i));
        case SqlType::kDate:
            return Value(Date::FromDayNumber(static_cast<int32_t>(number(i))));
        case SqlType::kBool:
            return Value(number(i) != 0);
        case SqlType::kText:
            return Value(text(i));
    }
    return Value();
}

void Vector::resize(size_t n) {
    constant_ = false;
    valid_.resize(n);
    if (isTextType()) {
        texts_.resize(n);
    } else {
        numbers_.resize(n);
    }
}

void Vector::reserve(size_t n) {
    valid_.reserve(n);
    if (isTextType()) {
        texts_.reserve(n);
    } else {
        numbers_.reserve(n);
    }
}

void Vector::set(size_t i, const Value& v) {
    if (v.isNull()) {
        valid_[i] = 0;
        return;
    }
    valid_[i] = 1;
    switch (type_) {
        case SqlType::kNumber:
            numbers_[i] = v.asDouble();
            break;
        case SqlType::kDate:
            numbers_[i] = v.asDate().dayNumber();
            break;
        case SqlType::kBool:
            numbers_[i] = v.asBool() ? 1 : 0;
            break;
        case SqlType::kText:
            texts_[i] = v.asText();
            break;
    }
}

void Vector::append(const Vector& src, size_t i) {
    valid_.push_back(src.isValid(i) ? 1 : 0);
    if (isTextType()) {
        texts_.push_back(src.isValid(i) ? src.text(i) : std::string());
    } else {
        numbers_.push_back(src.number(i));
    }
}

void Vector::take(Vector& src) {
    if (type_ != src.type_) *this = Vector(src.type_);
    std::swap(*this, src);
}

void Vector::gather(const Vector& src, const uint32_t* sel, size_t n) {
    type_ = src.type_;
    resize(n);
    for (size_t k = 0; k < n; ++k)
        valid_[k] = src.valid_[src.at(sel[k])];
    if (isTextType()) {
        for (size_t k = 0; k < n; ++k)
            texts_[k] = src.texts_[src.at(sel[k])];
    } else {
        for (size_t k = 0; k < n; ++k)
            numbers_[k] = src.numbers_[src.at(sel[k])];
    }
}

void Vector::compact(const uint32_t* sel, size_t n) {
    if (constant_) return;
    for (size_t k = 0; k < n; ++k)
        valid_[k] = valid_[sel[k]];
    if (isTextType()) {
        for (size_t k = 0; k < n; ++k) {
            if (sel[k] != k) texts_[k] = std::move(texts_[sel[k]]);
        }
    } else {
        for (size_t k = 0; k < n; ++k)
            numbers_[k] = numbers_[sel[k]];
    }
    resize(n);
}

size_t Vector::memoryBytes() const {
    size_t bytes = valid_.capacity() + numbers_.capacity() * sizeof(double) +
                   texts_.capacity() * sizeof(std::string);
    for (const auto& t : texts_) {
        if (t.capacity() > 15) bytes += t.capacity() + 1;
    }
    return bytes;
}

void DataChunk::reset(const std::vector<SqlType>& types) {
    columns.clear();
    for (SqlType t : types)
        columns.emplace_back(t);
    size = 0;
}

void DataChunk::compact(const uint32_t* sel, size_t n) {
    if (n == size) return;  // selections are ascending: all rows kept means nothing moves
    for (auto& c : columns)
        c.compact(sel, n);
    size = n;
}

ColumnData::ColumnData(const std::vector<SqlType>& types) {
    for (SqlType t : types)
        columns.emplace_back(t);
}

void ColumnData::append(const DataChunk& chunk) {
    for (size_t c = 0; c < columns.size(); ++c) {
        for (size_t i = 0; i < chunk.size; ++i)
            columns[c].append(chunk.columns[c], i);
    }
    rows += chunk.size;
}

std::vector<SqlType> ColumnData::types() const {
    std::vector<SqlType> t;
    for (const auto& c : columns)
        t.push_back(c.type());
    return t;
}

size_t ColumnData::memoryBytes() const {
    size_t bytes = 0;
    for (const auto& c : columns)
        bytes += c.memoryBytes();
    return bytes;
}

}  // namespace kolvio::sql
