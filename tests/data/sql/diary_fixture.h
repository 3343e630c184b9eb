// Tables written straight through DbfFile for the SQL tests, and the small
// hand-worked diary the statement scripts run on.
#pragma once

#include <string>
#include <vector>

#include "data/dbf/field_def.h"
#include "data/value.h"

namespace kolvio::sqltest {

struct TableSpec {
    std::string file;
    std::vector<FieldDef> fields;
    std::vector<std::vector<Value>> rows;  // one value per field, in order
    std::vector<bool> deleted;             // per row; missing means live
};

// Creates dir/file with the rows (code page 852). Throws std::runtime_error.
void WriteTable(const std::string& dir, const TableSpec& spec);

// The six tables as this version creates them (every number F(20,4)).
std::vector<FieldDef> RideFields();

// The diary of the statement scripts (statements/diary.md lists its rows):
// 11 rides in 2023-2025, one of them deleted, one without distance and time.
void WriteDiary(const std::string& dir);

}  // namespace kolvio::sqltest
