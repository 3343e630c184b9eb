// libFuzzer harness: any bytes as a statement through the tokenizer, the
// parser and, for a SELECT, the binder against the six tables of a training
// database and the result table (held in memory, no files).
//
// Guarantees checked on every input:
//  - the only failure is an SqlError (anything else thrown ends the run);
//  - an error that has a place in the text points inside it, on the line
//    the text has at that offset, at a column from 1.
// Seeds: corpus/sql_front; dictionary: sql_front.dict.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

#include "data/database/schema.h"
#include "data/sql/binder/binder.h"
#include "data/sql/parser/parser.h"
#include "data/sql/parser/token.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using namespace kolvio;
using namespace kolvio::sql;
using fuzz::Require;

MemoryCatalog& Tables() {
    static MemoryCatalog* catalog = [] {
        auto* c = new MemoryCatalog;
        for (std::string_view file : kDatabaseFiles)
            c->add(std::string(file), CreatedFields(file), 1000);
        c->add(std::string(kResultFile),
               {FieldDef::Float("MESIC", 20, 4), FieldDef::Numeric("COUNT_JIZ", 11, 0),
                FieldDef::Char("TRS_START", 20), FieldDef::DateField("DATUM")});
        return c;
    }();
    return *catalog;
}

void CheckPlace(const SqlError& error, std::string_view text) {
    const SourcePos& pos = error.pos();
    if (!pos.known()) return;
    Require(static_cast<size_t>(pos.offset) <= text.size(), "an error's place lies in the text");
    const auto before = text.substr(0, static_cast<size_t>(pos.offset));
    const auto lineBreaks = std::count(before.begin(), before.end(), '\n');
    Require(pos.line == lineBreaks + 1, "an error names the line its place is on");
    const size_t lineStart = before.rfind('\n') == std::string_view::npos ? 0 : before.rfind('\n') + 1;
    Require(pos.column >= 1 && static_cast<size_t>(pos.column) <= static_cast<size_t>(pos.offset) - lineStart + 1,
            "an error's column counts characters from 1");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    try {
        (void)Tokenize(text);
    } catch (const SqlError& e) {
        CheckPlace(e, text);
    }
    try {
        const Statement statement = ParseStatement(text);
        if (const auto* select = std::get_if<SelectStatement>(&statement)) {
            (void)BindSelect(*select, Tables());
        }
    } catch (const SqlError& e) {
        CheckPlace(e, text);
    }
    return 0;
}
