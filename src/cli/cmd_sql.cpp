// kolvio-db sql DIR [-e STATEMENT | -f FILE] [--into NAME.dbf]
//
// Runs one statement over the tables of DIR. A select prints CSV (UTF-8): a
// header row of the result's field names, then the rows; numbers in their
// shortest exact form, dates as yyyy-mm-dd, null as an empty cell. With
// --into the result instead recreates NAME.dbf in DIR with the result's
// fields and its rows are copied there; NAME is a plain table name in DIR,
// never one of the six tables of the database (the old table is replaced
// only when the whole result is on disk, and not while another program has
// it open). ALTER TABLE prints nothing. Without
// -e or -f the statement is read from standard input. A refused statement
// exits with 1 and its message on standard error.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "cli/commands.h"
#include "cli/csv.h"
#include "data/database/result_table.h"
#include "data/sql/sql_engine.h"

namespace kolvio::cli {

namespace {

const char kUsage[] =
    "Použití: kolvio-db sql ADRESÁŘ [-e PŘÍKAZ | -f SOUBOR] [--into TABULKA.dbf]\n";

// Collects CSV text and writes it in large pieces.
class CsvWriter {
public:
    ~CsvWriter() { flush(); }
    void header(const std::vector<FieldDef>& fields) {
        for (size_t i = 0; i < fields.size(); ++i) {
            if (i) buffer_ += ',';
            buffer_ += CsvQuote(fields[i].name);
        }
        endLine();
    }
    void row(const std::vector<Value>& values) {
        for (size_t i = 0; i < values.size(); ++i) {
            if (i) buffer_ += ',';
            const std::string cell = CsvCell(values[i]);
            // A row of one empty cell would be an empty line, which CSV
            // readers skip: it is written as an empty quoted text.
            buffer_ += cell.empty() && values.size() == 1 ? std::string("\"\"") : cell;
        }
        endLine();
    }
    void flush() {
        std::fwrite(buffer_.data(), 1, buffer_.size(), stdout);
        std::fflush(stdout);
        buffer_.clear();
    }

private:
    void endLine() {
        buffer_ += '\n';
        if (buffer_.size() > (1 << 16)) flush();
    }
    std::string buffer_;
};

bool ReadFile(const char* path, std::string* out) {
    if (std::strcmp(path, "-") == 0) {
        out->assign(std::istreambuf_iterator<char>(std::cin), {});
        return true;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out->assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return 1;
}

int Into(const std::string& dir, const std::string& statement, const std::string& table) {
    // A target that may not be written is refused before the query runs.
    Status st = CheckResultTarget(table);
    if (!st.ok()) return Fail(st.message());
    std::unique_ptr<sql::ResultSet> result;
    // The query runs whole before the table is touched: a refused statement
    // leaves the old table as it was.
    st = sql::Query(dir, statement, &result);
    if (!st.ok()) return Fail(st.message());
    sql::CopyReport report;
    st = ReplaceWithResult(*result, dir, table, &report);
    if (!st.ok()) return Fail(st.message());
    std::printf("%s: %lld řádků\n", table.c_str(), static_cast<long long>(report.rows));
    if (report.problemValues > 0) {
        std::fprintf(stderr, "%lld hodnot se do polí nevešlo a zůstaly prázdné; první: %s\n",
                     static_cast<long long>(report.problemValues), report.firstProblem.c_str());
    }
    return 0;
}

}  // namespace

int RunSql(int argc, char** argv) {
    if (argc < 1) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string dir = argv[0];
    std::string statement;
    std::string into;
    bool haveInto = false;
    bool haveStatement = false;
    for (int i = 1; i < argc; ++i) {
        const bool last = i + 1 >= argc;
        if (std::strcmp(argv[i], "-e") == 0 && !last) {
            statement = argv[++i];
            haveStatement = true;
        } else if (std::strcmp(argv[i], "-f") == 0 && !last) {
            if (!ReadFile(argv[++i], &statement)) {
                return Fail(std::string("Soubor \"") + argv[i] + "\" nelze přečíst.");
            }
            haveStatement = true;
        } else if (std::strcmp(argv[i], "--into") == 0 && !last) {
            into = argv[++i];
            haveInto = true;
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (!haveStatement) statement.assign(std::istreambuf_iterator<char>(std::cin), {});
    if (haveInto) return Into(dir, statement, into);

    CsvWriter csv;
    const Status st = sql::ExecuteEach(
        dir, statement, [&](const std::vector<FieldDef>& fields) { csv.header(fields); },
        [&](const std::vector<Value>& row) { csv.row(row); });
    csv.flush();
    if (!st.ok()) return Fail(st.message());
    return 0;
}

}  // namespace kolvio::cli
