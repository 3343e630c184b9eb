// A small table of the store's tests: "jizdy.dbf" with CISLO 0..rows-1 and
// POPIS1 text(i), then the rows listed in `deleted` (highest first, as
// positions before any deletion) deleted.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "data/table.h"

namespace kolvio::testing {

inline void WriteNumberedTable(const std::string& dir, int rows,
                               const std::function<std::string(int)>& text,
                               const std::vector<int>& deleted) {
    ASSERT_TRUE(Table::Create(dir, "jizdy.dbf",
                              {FieldDef::Numeric("CISLO", 5, 0), FieldDef::Char("POPIS1", 20)})
                    .ok());
    Table t(dir, "jizdy.dbf");
    ASSERT_TRUE(t.open(true).ok());
    for (int i = 0; i < rows; ++i) {
        ASSERT_TRUE(t.append().ok());
        ASSERT_TRUE(t.setValue("CISLO", Value(static_cast<double>(i))).ok());
        ASSERT_TRUE(t.setValue("POPIS1", Value(text(i))).ok());
        ASSERT_TRUE(t.post().ok());
    }
    for (const int row : deleted) {
        ASSERT_TRUE(t.moveToRow(row).ok());
        ASSERT_TRUE(t.deleteRecord().ok());
    }
}

}  // namespace kolvio::testing
