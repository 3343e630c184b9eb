// Runs the statement scripts statements/*.test, each in a fresh directory.
//
// Script format (blocks separated by blank lines, '#' starts a comment line):
//   fixture diary            write the hand-worked diary (diary_fixture.h)
//   load FILE.dbf            create a table: next line "NAME TYPE LEN DEC, ...",
//                            then one row per line, cells separated by '|'
//                            (NULL for null, dates yyyy-mm-dd, T/F, a leading
//                            '*' marks the row deleted)
//   statement ok             the statement (following lines) must succeed
//   statement error TEXT     it must fail with a message containing TEXT
//   query [rowsort]          the statement, "----", then the expected rows
//   fields                   the statement, "----", then "NAME TYPE LEN DEC" lines
//   into FILE.dbf            run the select and copy its rows into a new table;
//                            optional "----" and "rows N problems M"
// Values print as: NULL, numbers in shortest exact form, dates yyyy-mm-dd,
// T/F, text as is ((empty) for the empty text); cells joined by " | ".
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/sql/batch_copy.h"
#include "data/sql/sql_engine.h"
#include "data/temp_dir.h"
#include "diary_fixture.h"

namespace kolvio::sql {
namespace {

std::string Trim(std::string s) {
    const auto notBlank = [](unsigned char c) { return !std::isspace(c); };
    s.erase(s.begin(), std::find_if(s.begin(), s.end(), notBlank));
    s.erase(std::find_if(s.rbegin(), s.rend(), notBlank).base(), s.end());
    return s;
}

std::vector<std::string> Split(const std::string& line, char sep) {
    std::vector<std::string> out;
    std::stringstream in(line);
    std::string cell;
    while (std::getline(in, cell, sep))
        out.push_back(Trim(cell));
    if (!line.empty() && line.back() == sep) out.push_back("");
    return out;
}

std::string Render(const Value& v) {
    if (v.isNull()) return "NULL";
    if (v.isNumber()) {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, v.asDouble());
        return std::string(buf, r.ptr);
    }
    if (v.isDate()) return v.asDate().toIso();
    if (v.isBool()) return v.asBool() ? "T" : "F";
    return v.asText().empty() ? "(empty)" : v.asText();
}

std::string RenderRow(const ResultSet& r, int64_t row) {
    std::string line;
    for (size_t f = 0; f < r.fields().size(); ++f) {
        if (f) line += " | ";
        line += Render(r.valueAt(row, static_cast<int>(f)));
    }
    return line;
}

Value ParseCell(const FieldDef& f, const std::string& cell) {
    if (cell == "NULL") return Value();
    switch (f.type) {
        case FieldType::kNumeric:
        case FieldType::kFloat:
        case FieldType::kInteger:
            return Value(std::stod(cell));
        case FieldType::kDate:
            return Value(*Date::FromYmd(std::stoi(cell.substr(0, 4)), std::stoi(cell.substr(5, 2)),
                                        std::stoi(cell.substr(8, 2))));
        case FieldType::kLogical:
            return Value(cell == "T");
        default:
            return Value(cell == "(empty)" ? std::string() : cell);
    }
}

FieldDef ParseField(const std::string& spec) {
    std::stringstream in(spec);
    std::string name, type;
    int len = 0, dec = 0;
    in >> name >> type >> len >> dec;
    FieldDef f;
    f.name = name;
    f.type = static_cast<FieldType>(type.at(0));
    f.length = len;
    f.decimals = dec;
    if (f.type == FieldType::kDate) f.length = 8;
    if (f.type == FieldType::kLogical) f.length = 1;
    return f;
}

struct Block {
    int line = 0;
    std::string header;
    std::vector<std::string> body;      // statement lines (or load lines)
    std::vector<std::string> expected;  // after "----"
};

std::vector<Block> ReadBlocks(const std::string& path) {
    std::ifstream in(path);
    std::vector<Block> blocks;
    std::string line;
    int number = 0;
    Block* current = nullptr;
    bool afterSeparator = false;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line[0] == '#') continue;
        if (Trim(line).empty()) {
            current = nullptr;
            continue;
        }
        if (!current) {
            blocks.push_back(Block{number, Trim(line), {}, {}});
            current = &blocks.back();
            afterSeparator = false;
        } else if (line == "----") {
            afterSeparator = true;
        } else if (afterSeparator) {
            current->expected.push_back(Trim(line));
        } else {
            current->body.push_back(line);
        }
    }
    return blocks;
}

std::string Where(const std::string& file, const Block& b) {
    return file + ":" + std::to_string(b.line) + " " + b.header;
}

void RunLoad(const std::string& dir, const Block& b) {
    sqltest::TableSpec spec;
    spec.file = Trim(b.header.substr(4));
    for (const std::string& f : Split(b.body.at(0), ','))
        spec.fields.push_back(ParseField(f));
    for (size_t i = 1; i < b.body.size(); ++i) {
        std::string line = Trim(b.body[i]);
        const bool deleted = !line.empty() && line[0] == '*';
        if (deleted) line = line.substr(1);
        const auto cells = Split(line, '|');
        std::vector<Value> row;
        for (size_t c = 0; c < spec.fields.size(); ++c) {
            row.push_back(ParseCell(spec.fields[c], c < cells.size() ? cells[c] : "NULL"));
        }
        spec.rows.push_back(row);
        spec.deleted.push_back(deleted);
    }
    sqltest::WriteTable(dir, spec);
}

std::string StatementText(const Block& b) {
    return JoinStatementLines(b.body);
}

void RunBlock(const std::string& dir, const std::string& file, const Block& b) {
    SCOPED_TRACE(Where(file, b));
    const std::string& h = b.header;
    if (h == "fixture diary") {
        sqltest::WriteDiary(dir);
    } else if (h.rfind("load ", 0) == 0) {
        RunLoad(dir, b);
    } else if (h == "statement ok") {
        const Status st = Execute(dir, StatementText(b));
        EXPECT_TRUE(st.ok()) << st.message();
    } else if (h.rfind("statement error", 0) == 0) {
        const std::string wanted = Trim(h.substr(15));
        const Status st = Execute(dir, StatementText(b));
        ASSERT_FALSE(st.ok()) << "statement succeeded";
        EXPECT_NE(st.message().find(wanted), std::string::npos) << st.message();
    } else if (h == "query" || h == "query rowsort") {
        std::unique_ptr<ResultSet> r;
        const Status st = Query(dir, StatementText(b), &r);
        ASSERT_TRUE(st.ok()) << st.message();
        std::vector<std::string> rows;
        for (int64_t i = 0; i < r->size(); ++i)
            rows.push_back(RenderRow(*r, i));
        std::vector<std::string> expected = b.expected;
        if (h == "query rowsort") {
            std::sort(rows.begin(), rows.end());
            std::sort(expected.begin(), expected.end());
        }
        EXPECT_EQ(rows, expected);
    } else if (h == "fields") {
        std::unique_ptr<ResultSet> r;
        const Status st = Query(dir, StatementText(b), &r);
        ASSERT_TRUE(st.ok()) << st.message();
        std::vector<std::string> defs;
        for (const FieldDef& f : r->fieldDefs()) {
            defs.push_back(f.name + " " + static_cast<char>(f.type) + " " +
                           std::to_string(f.length) + " " + std::to_string(f.decimals));
        }
        EXPECT_EQ(defs, b.expected);
    } else if (h.rfind("into ", 0) == 0) {
        std::unique_ptr<ResultSet> r;
        const Status st = Query(dir, StatementText(b), &r);
        ASSERT_TRUE(st.ok()) << st.message();
        CopyReport report;
        const Status copied = CopyToNewTable(*r, dir, Trim(h.substr(5)), &report);
        ASSERT_TRUE(copied.ok()) << copied.message();
        if (!b.expected.empty()) {
            EXPECT_EQ(b.expected[0], "rows " + std::to_string(report.rows) + " problems " +
                                         std::to_string(report.problemValues));
        }
    } else {
        FAIL() << "unknown directive";
    }
}

class StatementScript : public ::testing::TestWithParam<std::string> {};

TEST_P(StatementScript, Passes) {
    kolvio::testing::TempDir dir;
    const std::string path = std::string(KOLVIO_SQL_SCRIPTS) + "/" + GetParam();
    const auto blocks = ReadBlocks(path);
    ASSERT_FALSE(blocks.empty()) << path;
    for (const Block& b : blocks) {
        RunBlock(dir.path(), GetParam(), b);
        if (::testing::Test::HasFatalFailure()) return;
    }
}

std::vector<std::string> Scripts() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(KOLVIO_SQL_SCRIPTS)) {
        if (e.path().extension() == ".test") names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Scripts, StatementScript, ::testing::ValuesIn(Scripts()),
                         [](const auto& info) {
                             std::string name = info.param.substr(0, info.param.size() - 5);
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace kolvio::sql
