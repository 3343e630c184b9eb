// A small table of bikes (code, type) in a fresh directory, open, for tests of
// what screens do with the shared tables.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/table.h"
#include "scratch_dir.h"

namespace kolvio::testing {

class ScratchTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Table::Create(dir.path().string(), "typ_kol.dbf",
                                  {FieldDef::Float("KOL_C", 20, 4), FieldDef::Char("KOL_TYP", 20)})
                        .ok());
        table.setDirectory(dir.path().string());
        table.setFileName("typ_kol.dbf");
        ASSERT_TRUE(table.open().ok());
    }

    void Add(int code, const std::string& type) {
        ASSERT_TRUE(table.append().ok());
        ASSERT_TRUE(table.setValue("KOL_C", code).ok());
        ASSERT_TRUE(table.setValue("KOL_TYP", type).ok());
        ASSERT_TRUE(table.post().ok());
    }

    // The types as stored, read through a handle of their own.
    std::vector<std::string> StoredTypes() {
        Table other(dir.path().string(), "typ_kol.dbf");
        std::vector<std::string> out;
        if (!other.open().ok()) return {"<unreadable>"};
        for (Status st = other.first(); st.ok() && !other.eof(); st = other.next())
            out.push_back(other.getString("KOL_TYP"));
        return out;
    }

    ScratchDir dir;
    Table table;
};

}  // namespace kolvio::testing
