// libFuzzer harness: any bytes as the index definitions (.kix) beside a
// small fixed table, which is then opened and walked in the order of every
// index the definitions give.
//
// Guarantees checked on every input:
//  - the table opens whatever the sidecar holds (a damaged one is ignored);
//  - in the order of every index each live row appears exactly once;
//  - a row is found by the key it has in that index;
//  - reading writes nothing: neither the sidecar nor the table changes.
// Seeds: corpus/index_sidecar.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "data/index/index_def.h"
#include "data/table.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using namespace kolvio;
using fuzz::Require;

const char* const kTableFile = "jizdy.dbf";

// Rows with ties, nulls, Czech letters that sort apart from their base
// letter, and deleted rows among them.
void CreateTable(const std::string& dir) {
    Require(Table::Create(dir, kTableFile,
                          {FieldDef::DateField("DATUM"), FieldDef::Float("DELKA", 20, 4),
                           FieldDef::Char("POPIS1", 20), FieldDef::Logical("SR_MER"),
                           FieldDef::Numeric("TRS_C", 5, 0), FieldDef::Blob("OBR")})
                .ok(),
            "the fixed table can be created");
    Table table(dir, kTableFile);
    Require(table.open(true).ok(), "the fixed table opens");
    const char* const texts[] = {"Říp", "rybník", "Cheb", "chata", "Hora", "", "Ústí", "ústí"};
    for (int i = 0; i < 24; ++i) {
        Require(table.append().ok(), "a row can be appended");
        if (i % 5 != 4)
            Require(
                table.setValue("DATUM", Value(Date::FromYmd(2024, 1 + i % 3, 1 + i % 7).value()))
                    .ok(),
                "date");
        if (i % 6 != 5) Require(table.setValue("DELKA", Value((i * 7 % 11) * 2.5)).ok(), "number");
        Require(table.setValue("POPIS1", Value(std::string(texts[i % 8]))).ok(), "text");
        if (i % 4 != 3) Require(table.setValue("SR_MER", Value(i % 2 == 0)).ok(), "logical");
        Require(table.setValue("TRS_C", Value(static_cast<double>(i % 4))).ok(), "code");
        Require(table.post().ok(), "a row can be posted");
    }
    for (const int row : {17, 9, 2}) {
        Require(table.moveToRow(row).ok() && table.deleteRecord().ok(), "a row can be deleted");
    }
}

std::vector<uint32_t> RowsInOrder(Table& table) {
    std::vector<uint32_t> rows;
    for (Status st = table.first(); st.ok() && !table.eof(); st = table.next())
        rows.push_back(table.recno());
    return rows;
}

void CheckIndex(Table& table, const IndexDef& def, const std::vector<uint32_t>& live) {
    if (!table.setIndexName(def.name).ok()) return;
    std::vector<uint32_t> rows = RowsInOrder(table);
    std::sort(rows.begin(), rows.end());
    Require(rows == live, "an index lists every live row exactly once");

    Require(table.first().ok(), "the first row of an index can be read");
    std::vector<Value> key;
    for (const std::string& field : SplitIndexExpression(def.expression)) {
        key.push_back(table.value(field));
        if (key.back().isNull()) return;
    }
    const uint32_t wanted = table.recno();
    Require(table.findKey(key).ok(), "a row is found by its own key");
    Require(table.recno() == wanted, "the first row of a key is found first");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string dir = [] {
        CreateTable(fuzz::ScratchDir());
        return fuzz::ScratchDir();
    }();
    static const std::string tableBytes = fuzz::ReadFile(dir + "/" + kTableFile);
    const std::string sidecar = IndexSidecarPath(dir + "/" + kTableFile);
    const std::string_view bytes = fuzz::AsText(data, size);
    fuzz::WriteWholeFile(sidecar, bytes);

    (void)ReadIndexDefs(sidecar);
    {
        Table table(dir, kTableFile);
        Require(table.open().ok(), "a table opens whatever its index definitions hold");
        const std::vector<uint32_t> live = RowsInOrder(table);
        for (const IndexDef& def : table.indexDefs())
            CheckIndex(table, def, live);
    }
    Require(fuzz::ReadFile(sidecar) == bytes, "reading leaves the definitions as they were");
    Require(fuzz::ReadFile(dir + "/" + kTableFile) == tableBytes,
            "reading leaves the table as it was");
    return 0;
}
