#include "data/index/table_index.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <iterator>
#include <limits>

#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/dbf/record_reader.h"
#include "data/index/collation.h"

namespace kolvio {

namespace {

constexpr double kNullNumber = -std::numeric_limits<double>::infinity();

bool Orderable(FieldType t) {
    return !IsMemoType(t);
}

// Eight bytes whose byte order is the numeric order; null sorts first.
void AppendOrderedNumber(std::string* out, std::optional<double> v) {
    uint64_t bits = 0;
    if (v) {
        const double d = *v == 0 ? 0.0 : *v;
        bits = std::bit_cast<uint64_t>(d);
        bits = (bits & 0x8000000000000000ull) ? ~bits : bits | 0x8000000000000000ull;
    }
    for (int i = 7; i >= 0; --i)
        out->push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
}

std::optional<double> NumberOf(const Value& v) {
    if (v.isNumber() || v.isBool()) return v.asDouble();
    if (v.isDate()) return static_cast<double>(v.asDate().dayNumber());
    return std::nullopt;
}

}  // namespace

Status TableIndex::Make(const IndexDef& def, const std::vector<FieldLayout>& fields,
                        std::unique_ptr<TableIndex>* out) {
    if (def.expression.size() > kMaxIndexExpression) {
        return Status::Invalid("Index \"" + def.name + "\": výraz je delší než " +
                               std::to_string(kMaxIndexExpression) + " znaků.");
    }
    const std::vector<std::string> names = SplitIndexExpression(def.expression);
    if (names.size() > kMaxIndexFields) {
        return Status::Invalid("Index \"" + def.name + "\": klíč smí mít nejvýše " +
                               std::to_string(kMaxIndexFields) + " polí.");
    }
    std::vector<int> indexes;
    int keyBytes = 0;
    for (const std::string& name : names) {
        const int i = FindField(fields, name);
        if (i < 0) {
            return Status::Invalid("Index \"" + def.name + "\": tabulka nemá pole \"" + name +
                                   "\".");
        }
        if (!Orderable(fields[i].type)) {
            return Status::Invalid("Index \"" + def.name + "\": podle pole \"" + name +
                                   "\" nelze řadit.");
        }
        indexes.push_back(i);
        keyBytes += fields[i].length;
    }
    if (keyBytes > kMaxIndexKeyBytes) {
        return Status::Invalid("Index \"" + def.name + "\": klíč by byl delší než " +
                               std::to_string(kMaxIndexKeyBytes) + " bajtů.");
    }
    if (indexes.empty()) {
        return Status::Invalid("Index \"" + def.name + "\" nemá výraz.");
    }
    out->reset(new TableIndex(def, fields, std::move(indexes), CodePage::kCp852));
    return Status::Ok();
}

TableIndex::TableIndex(IndexDef def, std::vector<FieldLayout> layouts, std::vector<int> fields,
                       CodePage page)
    : def_(std::move(def)),
      layouts_(std::move(layouts)),
      fields_(std::move(fields)),
      page_(page),
      data_(SortedChunks<double>(false)) {
    reset();
}

bool TableIndex::numericKey() const {
    return fields_.size() == 1 && layouts_[fields_[0]].type != FieldType::kChar;
}

void TableIndex::reset() {
    built_ = false;
    if (numericKey()) {
        data_ = SortedChunks<double>(def_.descending);
    } else {
        data_ = SortedChunks<std::string>(def_.descending);
    }
}

double TableIndex::numberKey(const char* record) const {
    return DecodeNumber(layouts_[fields_[0]], record).value_or(kNullNumber);
}

std::string TableIndex::textKey(const char* record) const {
    std::string key;
    for (size_t i = 0; i < fields_.size(); ++i) {
        const FieldLayout& f = layouts_[fields_[i]];
        if (i > 0) key.push_back('\x01');
        if (f.type == FieldType::kChar) {
            key += CollationKey(DecodeToUtf8(RawField(f, record), page_));
        } else {
            AppendOrderedNumber(&key, DecodeNumber(f, record));
        }
    }
    return key;
}

double TableIndex::numberKey(const Value& v) const {
    return NumberOf(v).value_or(kNullNumber);
}

std::string TableIndex::textKey(const std::vector<Value>& key) const {
    std::string out;
    for (size_t i = 0; i < fields_.size() && i < key.size(); ++i) {
        const FieldLayout& f = layouts_[fields_[i]];
        if (i > 0) out.push_back('\x01');
        if (f.type == FieldType::kChar) {
            out += CollationKey(key[i].asText());
        } else {
            AppendOrderedNumber(&out, NumberOf(key[i]));
        }
    }
    return out;
}

Status TableIndex::build(const DbfFile& file, CodePage page) {
    page_ = page;
    const uint32_t count = file.recordCount();
    std::vector<SortedChunks<double>::Entry> numbers;
    std::vector<SortedChunks<std::string>::Entry> texts;
    if (numericKey()) {
        numbers.reserve(count);
    } else {
        texts.reserve(count);
    }
    RecordReader reader(file);
    KOLVIO_RETURN_IF_ERROR(reader.forEach([&](const RecordBatch& batch) {
        for (uint32_t i = 0; i < batch.count; ++i) {
            if (batch.deleted(i)) continue;
            const char* rec = batch.record(i);
            if (numericKey()) {
                numbers.push_back({numberKey(rec), batch.first + i});
            } else {
                texts.push_back({textKey(rec), batch.first + i});
            }
        }
        return Status::Ok();
    }));
    reset();
    if (numericKey()) {
        std::get<0>(data_).build(std::move(numbers));
    } else {
        std::get<1>(data_).build(std::move(texts));
    }
    built_ = true;
    return Status::Ok();
}

size_t TableIndex::size() const {
    return std::visit([](const auto& d) { return d.size(); }, data_);
}

uint32_t TableIndex::recnoAt(size_t ordinal) const {
    return std::visit([&](const auto& d) { return d.at(ordinal).recno; }, data_);
}

void TableIndex::insert(uint32_t recno, const char* record) {
    if (numericKey()) {
        std::get<0>(data_).insert({numberKey(record), recno});
    } else {
        std::get<1>(data_).insert({textKey(record), recno});
    }
}

void TableIndex::erase(uint32_t recno, const char* record) {
    if (numericKey()) {
        std::get<0>(data_).erase(numberKey(record), recno);
    } else {
        std::get<1>(data_).erase(textKey(record), recno);
    }
}

bool TableIndex::keyChanged(const char* before, const char* after) const {
    for (const int i : fields_) {
        const FieldLayout& f = layouts_[i];
        if (std::string_view(before + f.offset, f.length) !=
            std::string_view(after + f.offset, f.length)) {
            return true;
        }
    }
    return false;
}

std::optional<size_t> TableIndex::ordinalOf(uint32_t recno, const char* record) const {
    if (numericKey()) return std::get<0>(data_).find(numberKey(record), recno);
    return std::get<1>(data_).find(textKey(record), recno);
}

std::pair<size_t, size_t> TableIndex::equalRange(const std::vector<Value>& key) const {
    if (numericKey()) {
        const double k = key.empty() ? kNullNumber : numberKey(key[0]);
        const auto& d = std::get<0>(data_);
        return {d.lowerBound(k), d.upperBound(k)};
    }
    const std::string k = textKey(key);
    const auto& d = std::get<1>(data_);
    return {d.lowerBound(k), d.upperBound(k)};
}

size_t TableIndex::lowerBound(const std::vector<Value>& key) const {
    if (numericKey()) {
        return std::get<0>(data_).lowerBound(key.empty() ? kNullNumber : numberKey(key[0]));
    }
    return std::get<1>(data_).lowerBound(textKey(key));
}

IndexSection TableIndex::section() const {
    IndexSection s;
    s.def = def_;
    s.textKeys = !numericKey();
    s.recnos.reserve(size());
    auto add = [&s](const auto& key, auto& keys, uint32_t recno) {
        if (s.runLengths.empty() || !(keys.back() == key)) {
            keys.push_back(key);
            s.runLengths.push_back(0);
        }
        ++s.runLengths.back();
        s.recnos.push_back(recno);
    };
    if (numericKey()) {
        std::get<0>(data_).forEach([&](const auto& e) { add(e.key, s.numbers, e.recno); });
    } else {
        std::get<1>(data_).forEach([&](const auto& e) { add(e.key, s.texts, e.recno); });
    }
    return s;
}

template <class K>
bool TableIndex::loadKeys(const IndexSection& section, const std::vector<K>& keys,
                          const std::vector<uint32_t>& changed,
                          const std::vector<std::string>& records) {
    using Entry = typename SortedChunks<K>::Entry;
    std::vector<Entry> kept;
    kept.reserve(section.recnos.size());
    size_t k = 0;
    for (size_t run = 0; run < section.runs(); ++run) {
        for (uint32_t j = 0; j < section.runLengths[run]; ++j, ++k) {
            const uint32_t recno = section.recnos[k];
            if (!std::binary_search(changed.begin(), changed.end(), recno)) {
                kept.push_back({keys[run], recno});
            }
        }
    }
    std::vector<Entry> fresh;
    for (size_t i = 0; i < changed.size() && i < records.size(); ++i) {
        const std::string& record = records[i];
        if (record.empty() || record[0] == '*') continue;
        fresh.push_back({keyOf(record.data(), static_cast<K*>(nullptr)), changed[i]});
    }
    SortedChunks<K> chunks(def_.descending);
    std::sort(fresh.begin(), fresh.end(),
              [&](const Entry& a, const Entry& b) { return chunks.isLess(a, b); });
    std::vector<Entry> all;
    all.reserve(kept.size() + fresh.size());
    std::merge(std::make_move_iterator(kept.begin()), std::make_move_iterator(kept.end()),
               std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()),
               std::back_inserter(all),
               [&](const Entry& a, const Entry& b) { return chunks.isLess(a, b); });
    if (!chunks.buildSorted(std::move(all))) return false;
    data_ = std::move(chunks);
    built_ = true;
    return true;
}

bool TableIndex::load(const IndexSection& section, const std::vector<uint32_t>& changed,
                      const std::vector<std::string>& records, CodePage page) {
    if (!(section.def == def_) || section.textKeys == numericKey() ||
        records.size() != changed.size()) {
        return false;
    }
    page_ = page;
    if (numericKey()) return loadKeys(section, section.numbers, changed, records);
    return loadKeys(section, section.texts, changed, records);
}

std::optional<size_t> TableIndex::runOf(const IndexSection& section,
                                        const std::vector<Value>& key) const {
    // Runs are in index order, each key once.
    if (section.textKeys) {
        const std::string k = textKey(key);
        const auto before = [&](const std::string& a) { return def_.descending ? k < a : a < k; };
        const auto it = std::partition_point(section.texts.begin(), section.texts.end(), before);
        if (it != section.texts.end() && *it == k) return it - section.texts.begin();
        return std::nullopt;
    }
    const double k = key.empty() ? kNullNumber : numberKey(key[0]);
    const auto before = [&](double a) { return def_.descending ? k < a : a < k; };
    const auto it = std::partition_point(section.numbers.begin(), section.numbers.end(), before);
    if (it != section.numbers.end() && *it == k) return it - section.numbers.begin();
    return std::nullopt;
}

}  // namespace kolvio
