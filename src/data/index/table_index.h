// The contents of one index of a table, kept in memory.
//
// Built from the table file on first use and then kept up to date by the
// table as rows are appended, changed and deleted. Deleted rows are not in it.
// Single numeric, date and logical fields give numeric keys; text fields and
// expressions of several fields give byte-comparable text keys.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "data/codepage.h"
#include "data/dbf/field_def.h"
#include "data/index/index_data.h"
#include "data/index/index_def.h"
#include "data/index/sorted_chunks.h"
#include "data/status.h"
#include "data/value.h"

namespace kolvio {

class DbfFile;

// Limits of an index definition, after those of dBase: an expression of at
// most 220 characters naming at most 16 fields, whose widths add up to at
// most 254 bytes (one text field of the greatest width).
constexpr size_t kMaxIndexExpression = 220;
constexpr size_t kMaxIndexFields = 16;
constexpr int kMaxIndexKeyBytes = 254;

class TableIndex {
public:
    // Fails when the expression names a field the table does not have or a
    // field that cannot be ordered (memo, blob), or goes beyond the limits.
    static Status Make(const IndexDef& def, const std::vector<FieldLayout>& fields,
                       std::unique_ptr<TableIndex>* out);

    const IndexDef& def() const { return def_; }
    const std::vector<int>& fieldIndexes() const { return fields_; }
    bool built() const { return built_; }
    // Reads every live record of the file and sorts the keys.
    Status build(const DbfFile& file, CodePage page);
    // The contents as kept in the index data file (index_data.h).
    IndexSection section() const;
    // Takes the contents from a section of the index data file. The records
    // `changed` names (ascending) are placed by `records`, their bytes now
    // (empty for a record the table no longer has). False, and nothing
    // changed, when the section does not fit this index.
    bool load(const IndexSection& section, const std::vector<uint32_t>& changed,
              const std::vector<std::string>& records, CodePage page);
    // The run of `section` (of this index, its keys read) whose key equals
    // `key`, without loading the section; nullopt when there is none.
    std::optional<size_t> runOf(const IndexSection& section, const std::vector<Value>& key) const;
    // Forgets the contents; the next use builds them again.
    void reset();

    size_t size() const;
    uint32_t recnoAt(size_t ordinal) const;
    void insert(uint32_t recno, const char* record);
    void erase(uint32_t recno, const char* record);
    // True when the key of the index differs between the two records.
    bool keyChanged(const char* before, const char* after) const;
    std::optional<size_t> ordinalOf(uint32_t recno, const char* record) const;
    // [first, last) positions of the rows whose key equals `key`.
    std::pair<size_t, size_t> equalRange(const std::vector<Value>& key) const;
    // First position whose key is not before `key`.
    size_t lowerBound(const std::vector<Value>& key) const;

private:
    TableIndex(IndexDef def, std::vector<FieldLayout> layouts, std::vector<int> fields,
               CodePage page);
    template <class K>
    bool loadKeys(const IndexSection& section, const std::vector<K>& keys,
                  const std::vector<uint32_t>& changed, const std::vector<std::string>& records);
    bool numericKey() const;
    double numberKey(const char* record) const;
    std::string textKey(const char* record) const;
    double numberKey(const Value& v) const;
    std::string textKey(const std::vector<Value>& key) const;
    double keyOf(const char* record, double*) const { return numberKey(record); }
    std::string keyOf(const char* record, std::string*) const { return textKey(record); }

    IndexDef def_;
    std::vector<FieldLayout> layouts_;
    std::vector<int> fields_;
    CodePage page_;
    bool built_ = false;
    std::variant<SortedChunks<double>, SortedChunks<std::string>> data_;
};

}  // namespace kolvio
