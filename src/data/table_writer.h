// Writing a whole new table file in one go.
//
// The records are collected in large blocks and written to a temporary file
// beside the table (and its memo file beside the memo file, when the fields
// need one); commit() puts them in place atomically, memo file first, and
// drops the index definitions of the table it replaced. Until then, and for
// good after any failure (a full disk, say), the old table stays byte for
// byte as it was and no temporary file is left.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/dbf/dbf_file.h"
#include "data/file.h"
#include "data/status.h"
#include "data/value.h"

namespace kolvio {

class MemoFile;

class TableWriter {
public:
    TableWriter();
    ~TableWriter();
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    // Prepares the table file `path` (it may exist: commit() replaces it).
    // Text is written in code page 852, which the header declares.
    Status begin(const std::string& path, const std::vector<FieldDef>& fields);
    const std::vector<FieldLayout>& fields() const { return header_.fields; }

    // The record being built; every field starts blank (null).
    Status setValue(int field, const Value& value);
    void setNull(int field);
    // Adds the record built so far and starts a blank one.
    Status addRecord();
    uint32_t recordCount() const { return header_.recordCount; }

    // Writes what is left and the header, then replaces the table.
    Status commit();

private:
    Status flush();
    Status commitWithMemo();

    DbfHeader header_;
    FileRewrite table_;
    FileRewrite memoFile_;
    std::unique_ptr<MemoFile> memo_;
    std::string sidecar_;
    std::string record_;
    std::string block_;
    uint64_t offset_ = 0;
};

}  // namespace kolvio
