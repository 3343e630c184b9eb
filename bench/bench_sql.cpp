// The SQL engine against SQLite on synthetic diaries.
//
//   build/bench/bench_sql [DIR] [RIDES,RIDES,...] [REPEAT]
//   (default: /tmp/kolvio-bench-sql 100000,1000000 5)
//
// For each size, DIR/<rides>/ gets a diary (kolvio-gen's) unless it already
// holds one of that size, and diary.sqlite the same rows with the same
// single-column indexes as the program keeps (the list of the schema). Each
// statement runs once to warm up, then REPEAT times; the median is printed,
// ours and SQLite's from the same run, with their ratio. Both sides read
// every value of every result row. "ours cold" is our first run with nothing
// learned about the tables yet (no zone maps, see src/data/sql/README.md);
// the later runs profit from what the first learned. The peak memory of the statistics
// statement is measured in a fresh process (this program with --peak).
//
// Then every statement runs as a fresh process of kolvio-db (or of the
// program BENCH_KOLVIO_DB names, to compare two builds) against one of
// sqlite3, which is what a rider starting a statement pays. With
// BENCH_PROCESSES_ONLY set, only that part runs.
//
// Goals at 1,000,000 rides: every ratio at most 1.0 (fresh processes too);
// MIN/MAX and the one-year test under 10 ms as fresh processes; the
// statistics statement under 200 MB.
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench_util.h"
#include "data/database/schema.h"
#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/index/index_def.h"
#include "data/sql/answer_cache.h"
#include "data/sql/execution/zone_map.h"
#include "data/sql/sql_engine.h"
#include "gen_diary.h"
#include "process_timing.h"
#include "sql_statements.h"

namespace {

using namespace kolvio;
using namespace kolvio::bench;

void CheckSqlite(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "SQLite (%s): %s\n", what, sqlite3_errmsg(db));
        std::exit(1);
    }
}

// --- loading SQLite ---

std::string AnalyzedPath(const std::string& path) {
    return path.substr(0, path.size() - 7) + "-analyzed.sqlite";
}

bool SqliteHasRides(const std::string& path, uint32_t rides) {
    if (!std::filesystem::exists(path)) return false;
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_stmt* st = nullptr;
    bool ok = sqlite3_prepare_v2(db, "select count(*) from jizdy", -1, &st, nullptr) == SQLITE_OK &&
              sqlite3_step(st) == SQLITE_ROW &&
              sqlite3_column_int64(st, 0) == static_cast<int64_t>(rides);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return ok;
}

void LoadTable(sqlite3* db, const std::string& dir, const std::string& file) {
    std::unique_ptr<DbfFile> dbf;
    Check(DbfFile::Open(dir + "/" + file, false, LockMode::kShared, &dbf));
    const auto& fields = dbf->header().fields;
    const std::string table = file.substr(0, file.size() - 4);
    std::string create = "CREATE TABLE " + table + "(";
    std::string insert = "INSERT INTO " + table + " VALUES(";
    for (size_t i = 0; i < fields.size(); ++i) {
        const char* type = IsNumericType(fields[i].type) || fields[i].type == FieldType::kLogical
                               ? "REAL"
                               : "TEXT";
        create += (i ? ", " : "") + fields[i].name + " " + type;
        insert += i ? ", ?" : "?";
    }
    CheckSqlite(sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr), db, "create");
    sqlite3_stmt* st = nullptr;
    CheckSqlite(sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &st, nullptr), db, "insert");
    std::string rec;
    for (uint32_t r = 0; r < dbf->recordCount(); ++r) {
        Check(dbf->readRecord(r, &rec));
        if (rec[0] == '*') continue;
        for (size_t i = 0; i < fields.size(); ++i) {
            const Value v = DecodeField(fields[i], rec.data(), CodePage::kCp852, nullptr);
            const int c = static_cast<int>(i) + 1;
            if (v.isNull()) {
                sqlite3_bind_null(st, c);
            } else if (v.isText()) {
                sqlite3_bind_text(st, c, v.asText().c_str(), -1, SQLITE_TRANSIENT);
            } else if (v.isDate()) {
                sqlite3_bind_text(st, c, v.asDate().toIso().c_str(), -1, SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_double(st, c, v.asDouble());
            }
        }
        CheckSqlite(sqlite3_step(st), db, "insert");
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
}

void BuildSqlite(const std::string& dir, const std::string& path) {
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", nullptr, nullptr,
                 nullptr);
    for (const auto& file : kDatabaseFiles)
        LoadTable(db, dir, std::string(file));
    for (const IndexedTable& t : MaintainedIndexes()) {
        const std::string table(t.fileName.substr(0, t.fileName.size() - 4));
        for (const auto& field : t.indexes) {
            const std::string sql = "CREATE INDEX " + table + "_" + std::string(field) + " ON " +
                                    table + "(" + std::string(field) + ")";
            CheckSqlite(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db, "index");
        }
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    // ANALYZE makes SQLite choose a poor join order on this data for some
    // statements and a better one for others: both copies are timed and
    // SQLite's faster figure taken.
    const std::string analyzed = AnalyzedPath(path);
    std::filesystem::copy_file(path, analyzed, std::filesystem::copy_options::overwrite_existing);
    sqlite3_open(analyzed.c_str(), &db);
    sqlite3_exec(db, "ANALYZE", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The index definitions the program gives a diary when it opens it (a
// generated diary has none yet); their contents are learned by the first
// statement that uses them.
void EnsureIndexDefinitions(const std::string& dir) {
    for (const IndexedTable& t : MaintainedIndexes()) {
        const std::string kix = IndexSidecarPath(dir + "/" + std::string(t.fileName));
        if (!ReadIndexDefs(kix).empty()) continue;
        std::vector<IndexDef> defs;
        for (const auto& field : t.indexes)
            defs.push_back({std::string(field), std::string(field), false});
        Check(WriteIndexDefs(kix, defs));
    }
}

// --- running ---

double RunOurs(const std::string& dir, const std::string& sql, int64_t* rows) {
    const auto t0 = Clock::now();
    std::unique_ptr<sql::ResultSet> r;
    Check(sql::Query(dir, sql, &r));
    double sink = 0;
    for (int64_t i = 0; i < r->size(); ++i) {
        for (size_t f = 0; f < r->fields().size(); ++f) {
            sink += r->valueAt(i, static_cast<int>(f)).asDouble();
        }
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    *rows = r->size() + (sink == 12345.678 ? 1 : 0);
    return ms;
}

double RunSqlite(sqlite3* db, const std::string& sql, int64_t* rows) {
    const auto t0 = Clock::now();
    sqlite3_stmt* st = nullptr;
    CheckSqlite(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), db, "prepare");
    int64_t n = 0;
    double sink = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            if (sqlite3_column_type(st, c) == SQLITE_TEXT) {
                sink += sqlite3_column_bytes(st, c);
            } else {
                sink += sqlite3_column_double(st, c);
            }
        }
        ++n;
    }
    sqlite3_finalize(st);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    *rows = n + (sink == 12345.678 ? 1 : 0);
    return ms;
}

// Every statement as a fresh process: `kolvio-db sql DIR -e ...` against
// `sqlite3 -readonly FILE ...`, both printing every row. "first" is our
// first process with no sidecar of block summaries (src/data/summary) or
// index contents (src/data/index/index_data.h) beside the tables; it leaves
// them for the later ones. SQLite is timed on
// the copy without ANALYZE and on the one with it; its faster median counts.
// Wall-clock and processor time (user + system) are both printed, each
// with its ratio.
void BenchProcesses(const std::string& dir, const std::string& sqlitePath, int repeat) {
    const char* ours = std::getenv("BENCH_KOLVIO_DB");
    const std::string kolvioDb = ours ? ours : KOLVIO_DB_PATH;
    const std::string sqlite = "/usr/bin/sqlite3";
    std::printf("\nfresh processes (%s), median of %d runs, wall-clock | processor ms\n",
                kolvioDb.c_str(), repeat);
    std::printf("%-38s %7s %7s %7s %7s %6s | %7s %7s %7s %6s\n", "statement", "first", "ours",
                "SQLite", "+ANLZ", "ratio", "ours", "SQLite", "+ANLZ", "ratio");
    for (const Statement& s : Statements()) {
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            const auto ext = entry.path().extension();
            if (ext == ".kzm" || ext == ".kid") std::filesystem::remove(entry.path());
        }
        const std::vector<std::string> oursArgs = {kolvioDb, "sql", dir, "-e", s.ours};
        const std::vector<std::string> plainArgs = {sqlite, "-readonly", sqlitePath, s.sqlite};
        const std::vector<std::string> analyzedArgs = {sqlite, "-readonly",
                                                       AnalyzedPath(sqlitePath), s.sqlite};
        const double first = RunProcess(oursArgs).wallMs;
        RunProcess(plainArgs);  // warms their pages
        RunProcess(analyzedArgs);
        std::vector<double> a, plain, analyzed, aCpu, plainCpu, analyzedCpu;
        for (int i = 0; i < repeat; ++i) {
            const ProcessTime x = RunProcess(oursArgs);
            const ProcessTime y = RunProcess(plainArgs);
            const ProcessTime z = RunProcess(analyzedArgs);
            a.push_back(x.wallMs);
            aCpu.push_back(x.cpuMs);
            plain.push_back(y.wallMs);
            plainCpu.push_back(y.cpuMs);
            analyzed.push_back(z.wallMs);
            analyzedCpu.push_back(z.cpuMs);
        }
        const double best = std::min(Median(plain), Median(analyzed));
        const double bestCpu = std::min(Median(plainCpu), Median(analyzedCpu));
        std::printf("%-38s %7.1f %7.1f %7.1f %7.1f %6.2f | %7.1f %7.1f %7.1f %6.2f\n", s.name,
                    first, Median(a), Median(plain), Median(analyzed), Median(a) / best,
                    Median(aCpu), Median(plainCpu), Median(analyzedCpu),
                    Median(aCpu) / std::max(bestCpu, 0.1));
        std::fflush(stdout);
    }
}

// Runs this program with --peak in a fresh process: its maximum resident
// set while running one statement of ours.
long PeakKb(const char* self, const std::string& dir, size_t statement) {
    const pid_t pid = fork();
    if (pid == 0) {
        const std::string index = std::to_string(statement);
        execl(self, self, "--peak", dir.c_str(), index.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? usage.ru_maxrss : -1;
}

void BenchSize(const char* self, const std::string& root, uint32_t rides, int repeat) {
    const std::string dir = root + "/" + std::to_string(rides);
    bool fresh = false;
    {
        std::unique_ptr<DbfFile> f;
        if (!DbfFile::Open(dir + "/jizdy.dbf", false, LockMode::kShared, &f).ok() ||
            f->recordCount() != rides) {
            f.reset();
            std::printf("generating %u rides in %s ...\n", rides, dir.c_str());
            const auto t0 = Clock::now();
            Check(bench::GenerateDiary(dir, {rides, 1}));
            std::printf("  %.1f s\n", std::chrono::duration<double>(Clock::now() - t0).count());
            fresh = true;
        }
    }
    const std::string sqlitePath = dir + "/diary.sqlite";
    if (fresh || !SqliteHasRides(sqlitePath, rides) ||
        !SqliteHasRides(AnalyzedPath(sqlitePath), rides)) {
        std::printf("loading SQLite %s ...\n", sqlitePath.c_str());
        BuildSqlite(dir, sqlitePath);
    }
    EnsureIndexDefinitions(dir);
    if (std::getenv("BENCH_PROCESSES_ONLY")) {
        BenchProcesses(dir, sqlitePath, repeat);
        return;
    }
    sqlite3* db = nullptr;
    sqlite3_open_v2(AnalyzedPath(sqlitePath).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);

    std::printf("\n%u rides (jizdy.dbf %.0f MB), median of %d runs\n", rides,
                std::filesystem::file_size(dir + "/jizdy.dbf") / 1e6, repeat);
    std::printf("%-38s %10s %10s %7s %8s %12s\n", "statement", "ours ms", "SQLite ms", "ratio",
                "rows", "ours cold ms");
    const auto statements = Statements();
    for (const Statement& s : statements) {
        int64_t ourRows = 0, theirRows = 0;
        // The first run starts with nothing learned about the tables.
        sql::ZoneCache::Shared().clear();
        sql::AnswerCache::Shared().clear();
        const double cold = RunOurs(dir, s.ours, &ourRows);
        RunSqlite(db, s.sqlite, &theirRows);
        std::vector<double> ours, theirs;
        for (int i = 0; i < repeat; ++i) {
            ours.push_back(RunOurs(dir, s.ours, &ourRows));
            theirs.push_back(RunSqlite(db, s.sqlite, &theirRows));
        }
        const double a = Median(ours), b = Median(theirs);
        std::printf("%-38s %10.2f %10.2f %7.2f %8lld %12.2f%s\n", s.name, a, b, a / b,
                    static_cast<long long>(ourRows), cold,
                    ourRows == theirRows ? "" : "  (SQLite returned another row count!)");
    }
    sqlite3_close(db);
    const long kb = PeakKb(self, dir, 1);
    std::printf("peak memory, monthly statistics (fresh process): %.1f MB\n", kb / 1024.0);
    BenchProcesses(dir, sqlitePath, repeat);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--peak") == 0) {
        const auto statements = Statements();
        int64_t rows = 0;
        RunOurs(argv[2], statements.at(std::stoul(argv[3])).ours, &rows);
        return 0;
    }
    const std::string root = argc > 1 ? argv[1] : "/tmp/kolvio-bench-sql";
    std::vector<uint32_t> sizes = {100000, 1000000};
    if (argc > 2) {
        sizes.clear();
        std::stringstream in(argv[2]);
        std::string item;
        while (std::getline(in, item, ','))
            sizes.push_back(static_cast<uint32_t>(std::stoul(item)));
    }
    const int repeat = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    for (uint32_t rides : sizes)
        BenchSize(argv[0], root, rides, repeat);
    return 0;
}
