// Random tables loaded into our store and into SQLite, the same statements
// run on both, results compared as multisets of rows (ordered statements:
// the sequence of sort keys must match too).
//
// SQLite gets the same values: numbers as REAL, dates as our day numbers,
// logical values as 0/1, text with a collation that orders like ours.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <ostream>
#include <random>

#include "data/sql/answer_cache.h"
#include "data/sql/execution/text_order.h"
#include "data/sql/execution/zone_map.h"
#include "data/sql/sql_engine.h"
#include "data/temp_dir.h"
#include "diary_fixture.h"

namespace kolvio::sql {
namespace {

constexpr int kFactRows = 10000;  // three zone blocks
constexpr int kDimRows = 20;
const char* const kTexts[] = {"",   "a",     "A",    "b",    "Brno", "Černá", "ch",
                              "CH", "Cihla", "žába", "Žluť", "x y",  "cesta", "Čáp"};

int CzechCollation(void*, int na, const void* a, int nb, const void* b) {
    return CompareText(std::string_view(static_cast<const char*>(a), na),
                       std::string_view(static_cast<const char*>(b), nb));
}

// One result value: text as it is; numbers, dates (day numbers) and logical
// values (0/1) as numbers, compared with a relative tolerance because the
// two engines add in different orders.
struct Cell {
    bool isNumber = false;
    double number = 0;
    std::string text;  // "NULL" for null

    // Coarse enough that both engines' sums print alike; used to line rows up.
    std::string sortKey() const {
        if (!isNumber) return text;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.6g", number == 0 ? 0.0 : number);
        return buf;
    }
    bool operator==(const Cell& o) const {
        if (isNumber != o.isNumber) return false;
        if (!isNumber) return text == o.text;
        return std::fabs(number - o.number) <= 1e-9 * std::max(1.0, std::fabs(number));
    }
};

void PrintTo(const Cell& c, std::ostream* os) {
    *os << (c.isNumber ? c.sortKey() : c.text);
}

Cell NumberCell(double d) {
    return Cell{true, d, {}};
}
Cell TextCell(std::string t) {
    return Cell{false, 0, std::move(t)};
}

Cell CellOf(const Value& v) {
    if (v.isNull()) return TextCell("NULL");
    if (v.isDate()) return NumberCell(v.asDate().dayNumber());
    if (v.isBool()) return NumberCell(v.asBool() ? 1 : 0);
    if (v.isNumber()) return NumberCell(v.asDouble());
    return TextCell("'" + v.asText() + "'");
}

using Rows = std::vector<std::vector<Cell>>;

void SortRows(Rows* rows) {
    std::vector<std::pair<std::vector<std::string>, size_t>> keyed;
    for (size_t i = 0; i < rows->size(); ++i) {
        std::vector<std::string> k;
        for (const Cell& c : (*rows)[i])
            k.push_back(c.sortKey());
        keyed.emplace_back(std::move(k), i);
    }
    std::sort(keyed.begin(), keyed.end());
    Rows sorted;
    for (const auto& [key, i] : keyed)
        sorted.push_back(std::move((*rows)[i]));
    *rows = std::move(sorted);
}

// A statement in both dialects.
struct Sql {
    std::string ours;
    std::string theirs;
};

Sql operator+(const Sql& a, const Sql& b) {
    return {a.ours + b.ours, a.theirs + b.theirs};
}
Sql Same(const std::string& s) {
    return {s, s};
}

class Differential : public ::testing::Test {
protected:
    void SetUp() override {
        // Files written a moment ago may be served from zone maps here, so
        // that block skipping is checked against SQLite too.
        ZoneCache::Shared().setMinimumAge(0);
        ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
        sqlite3_create_collation(db_, "CZECH", SQLITE_UTF8, nullptr, CzechCollation);
        exec("CREATE TABLE f(K REAL, A REAL, B REAL, D INTEGER, T TEXT COLLATE CZECH, L INTEGER)");
        exec("CREATE TABLE g(K REAL, NAME TEXT COLLATE CZECH, W REAL)");
        load();
    }
    void TearDown() override {
        sqlite3_close(db_);
        ZoneCache::Shared().clear();
        AnswerCache::Shared().clear();
        ZoneCache::Shared().setMinimumAge(3'000'000'000);
    }

    void exec(const std::string& sql) {
        char* err = nullptr;
        ASSERT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err), SQLITE_OK)
            << (err ? err : "") << "\n"
            << sql;
    }

    template <class T>
    std::optional<T> maybe(T v, int nullPercent = 10) {
        if (static_cast<int>(rng_() % 100) < nullPercent) return std::nullopt;
        return v;
    }

    void insert(const std::string& table, const std::vector<Value>& row) {
        std::string sql = "INSERT INTO " + table + " VALUES(";
        for (size_t i = 0; i < row.size(); ++i) {
            if (i) sql += ",";
            const Value& v = row[i];
            if (v.isNull()) {
                sql += "NULL";
            } else if (v.isText()) {
                sql += "'" + v.asText() + "'";
            } else if (v.isDate()) {
                sql += std::to_string(v.asDate().dayNumber());
            } else if (v.isBool()) {
                sql += v.asBool() ? "1" : "0";
            } else {
                char buf[64];
                std::snprintf(buf, sizeof buf, "%.17g", v.asDouble());
                sql += buf;
            }
        }
        exec(sql + ")");
    }

    Value number(std::optional<double> v) { return v ? Value(*v) : Value(); }

    void load() {
        sqltest::TableSpec f{"f.dbf",
                             {FieldDef::Numeric("K", 4, 0), FieldDef::Numeric("A", 8, 0),
                              FieldDef::Numeric("B", 12, 3), FieldDef::DateField("D"),
                              FieldDef::Char("T", 10), FieldDef::Logical("L")},
                             {},
                             {}};
        const Date base = *Date::FromYmd(2019, 1, 1);
        exec("BEGIN");
        for (int i = 0; i < kFactRows; ++i) {
            std::vector<Value> row;
            row.push_back(number(maybe<double>(rng_() % 13)));
            row.push_back(number(maybe<double>(static_cast<int>(rng_() % 101) - 50)));
            row.push_back(
                number(maybe<double>((static_cast<int>(rng_() % 2000001) - 1000000) / 1000.0)));
            // Mostly in date order, like a diary, so that blocks have narrow date zones.
            const auto day = maybe<int>(i * 2000 / kFactRows + static_cast<int>(rng_() % 30));
            row.push_back(day ? Value(Date::FromDayNumber(base.dayNumber() + *day)) : Value());
            row.push_back(Value(kTexts[rng_() % std::size(kTexts)]));
            const auto flag = maybe<bool>(rng_() % 2 == 0, 20);
            row.push_back(flag ? Value(*flag) : Value());
            const bool deleted = rng_() % 20 == 0;
            f.rows.push_back(row);
            f.deleted.push_back(deleted);
            if (!deleted) insert("f", row);
        }
        sqltest::TableSpec g{"g.dbf",
                             {FieldDef::Numeric("K", 4, 0), FieldDef::Char("NAME", 10),
                              FieldDef::Numeric("W", 8, 2)},
                             {},
                             {}};
        for (int i = 0; i < kDimRows; ++i) {
            std::vector<Value> row{number(maybe<double>(rng_() % 15)),
                                   Value(kTexts[rng_() % std::size(kTexts)]),
                                   number(maybe<double>((rng_() % 1000) / 100.0))};
            g.rows.push_back(row);
            insert("g", row);
        }
        exec("COMMIT");
        sqltest::WriteTable(dir_.path(), f);
        sqltest::WriteTable(dir_.path(), g);
    }

    Rows theirs(const std::string& sql) {
        sqlite3_stmt* st = nullptr;
        Rows rows;
        EXPECT_EQ(sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db_) << "\n"
            << sql;
        if (!st) return rows;
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::vector<Cell> row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                switch (sqlite3_column_type(st, c)) {
                    case SQLITE_NULL:
                        row.push_back(TextCell("NULL"));
                        break;
                    case SQLITE_TEXT:
                        row.push_back(TextCell(
                            std::string("'") +
                            reinterpret_cast<const char*>(sqlite3_column_text(st, c)) + "'"));
                        break;
                    default:
                        row.push_back(NumberCell(sqlite3_column_double(st, c)));
                }
            }
            rows.push_back(row);
        }
        sqlite3_finalize(st);
        return rows;
    }

    Rows ours(const std::string& sql) {
        std::unique_ptr<ResultSet> r;
        const Status st = Query(dir_.path(), sql, &r);
        EXPECT_TRUE(st.ok()) << st.message() << "\n" << sql;
        Rows rows;
        if (!r) return rows;
        for (int64_t i = 0; i < r->size(); ++i) {
            std::vector<Cell> row;
            for (size_t c = 0; c < r->fields().size(); ++c) {
                row.push_back(CellOf(r->valueAt(i, static_cast<int>(c))));
            }
            rows.push_back(row);
        }
        return rows;
    }

    // Compares as multisets; with `orderedColumns` > 0 the first that many
    // columns must also come in the same sequence.
    void compare(const Sql& sql, size_t orderedColumns = 0) {
        auto a = ours(sql.ours);
        auto b = theirs(sql.theirs);
        if (orderedColumns > 0) {
            const auto keys = [&](const Rows& rows) {
                Rows k;
                for (const auto& r : rows)
                    k.emplace_back(r.begin(), r.begin() + orderedColumns);
                return k;
            };
            EXPECT_EQ(keys(a), keys(b)) << sql.ours;
        }
        SortRows(&a);
        SortRows(&b);
        EXPECT_EQ(a, b) << sql.ours << "\n" << sql.theirs;
        ++compared_;
        if (!a.empty()) ++nonEmpty_;
    }

    // --- random statement pieces ---

    int pick(int n) { return static_cast<int>(rng_() % n); }

    Sql numberLiteral(int lo, int hi) {
        const int v = lo + pick(hi - lo + 1);
        const std::string s = std::to_string(v);
        return {pick(2) ? "\"" + s + "\"" : s, s};
    }

    Sql dateLiteral() {
        const Date d =
            Date::FromDayNumber(Date::FromYmd(2019, 1, 1)->dayNumber() + pick(2100) - 50);
        return {"\"" + std::to_string(d.day()) + "." + std::to_string(d.month()) + "." +
                    std::to_string(d.year()) + "\"",
                std::to_string(d.dayNumber())};
    }

    Sql textLiteral() {
        const std::string t = kTexts[pick(std::size(kTexts))];
        return {"'" + t + "'", "'" + t + "'"};
    }

    Sql compareOp() {
        static const char* ops[] = {"=", "<>", "<", "<=", ">", ">="};
        return Same(std::string(" ") + ops[pick(6)] + " ");
    }

    Sql atom(const std::string& q) {
        switch (pick(10)) {
            case 0:
                return Same(q + "A") + compareOp() + numberLiteral(-50, 50);
            case 1:
                return Same(q + "B between ") + numberLiteral(-1000, 0) + Same(" and ") +
                       numberLiteral(0, 1000);
            case 2:
                return Same(q + "D") + compareOp() + dateLiteral();
            case 3:
                return Same(q + "T") + compareOp() + textLiteral();
            case 4: {
                Sql in = Same(q + (pick(2) ? "K not in (" : "K in ("));
                const int n = 1 + pick(4);
                for (int i = 0; i < n; ++i)
                    in = in + (i ? Same(", ") : Same("")) + numberLiteral(0, 14);
                return in + Same(")");
            }
            case 5:
                return Same(q + (pick(2) ? "A is null" : "B is not null"));
            case 6:
                return pick(2) ? Sql{q + "L = true", q + "L = 1"}
                               : Sql{q + "L = \"F\"", q + "L = 0"};
            case 7:
                return Same(q + "A + B") + compareOp() + numberLiteral(-500, 500);
            case 8:
                return Same(q + "B / A") + compareOp() + numberLiteral(-100, 100);
            default:
                return Same(q + "D between ") + dateLiteral() + Same(" and ") + dateLiteral();
        }
    }

    Sql predicate(const std::string& q, int depth = 0) {
        if (depth >= 2 || pick(3) == 0) return atom(q);
        switch (pick(3)) {
            case 0:
                return Same("(") + predicate(q, depth + 1) + Same(" and ") +
                       predicate(q, depth + 1) + Same(")");
            case 1:
                return Same("(") + predicate(q, depth + 1) + Same(" or ") +
                       predicate(q, depth + 1) + Same(")");
            default:
                return Same("not (") + predicate(q, depth + 1) + Same(")");
        }
    }

    kolvio::testing::TempDir dir_;
    sqlite3* db_ = nullptr;
    std::mt19937 rng_{20240101};
    int compared_ = 0;
    int nonEmpty_ = 0;
};

TEST_F(Differential, FilteredRowsMatchSqlite) {
    const char* columns[] = {"K", "A", "B", "D", "T", "L", "A + B", "B / A", "A * 2 - B"};
    for (int i = 0; i < 150; ++i) {
        std::string list;
        const int n = 1 + pick(4);
        for (int c = 0; c < n; ++c)
            list += std::string(c ? ", " : "") + columns[pick(9)];
        compare(Same("select " + list + " from f where ") + predicate(""));
    }
    EXPECT_GT(nonEmpty_, 100);
}

TEST_F(Differential, GroupedAggregatesMatchSqlite) {
    const char* keys[] = {"K", "T", "D", "L", "A"};
    const char* numbers[] = {"A", "B", "A + B", "B / A"};
    const char* any[] = {"A", "B", "D", "T", "L"};
    for (int i = 0; i < 120; ++i) {
        const std::string key = keys[pick(5)];
        const std::string sum = numbers[pick(4)];
        const std::string avg = numbers[pick(4)];
        const std::string ext = any[pick(5)];
        const std::string sel = "select " + key + ", count(*), count(" + any[pick(5)] + "), sum(" +
                                sum + "), avg(" + avg + "), min(" + ext + "), max(" + ext +
                                ") from f";
        const bool filtered = pick(3) != 0;
        compare(Same(sel) + (filtered ? Same(" where ") + predicate("") : Same("")) +
                Same(" group by " + key));
    }
}

TEST_F(Differential, AggregatesWithoutGroupsMatchSqliteEvenOverNoRows) {
    for (int i = 0; i < 60; ++i) {
        compare(Same("select count(*), sum(B), avg(A), min(T), max(D), sum(B) / sum(A) from f "
                     "where ") +
                predicate(""));
    }
    compare(Same("select count(*), sum(B), avg(A), min(T), max(D) from f where A > 1000"));
}

TEST_F(Differential, JoinsMatchSqlite) {
    for (int i = 0; i < 80; ++i) {
        compare(Same("select f.K, g.NAME, f.B * g.W, f.T from f, g where f.K = g.K and ") +
                predicate("f."));
        compare(Same("select g.NAME, count(*), sum(f.B), max(g.W) from f, g where g.K = f.K and ") +
                predicate("f.") + Same(" group by g.NAME"));
    }
    // Joins on text and with a condition across both tables.
    compare(Same("select f.A, g.W from f, g where f.T = g.NAME and f.B > g.W * 100"));
    compare(Same("select count(*) from f a, f b where a.K = b.K and a.T = b.T and a.A < b.A"));
}

TEST_F(Differential, OrderedAndDistinctRowsMatchSqlite) {
    for (int i = 0; i < 60; ++i) {
        compare(Same("select T, A, D from f where ") + predicate("") +
                    Same(" order by T desc, A, D desc"),
                3);
        compare(Same("select distinct T, L from f where ") + predicate(""));
        compare(Same("select K, sum(B) as s from f group by K order by s desc, K"), 2);
    }
}

}  // namespace
}  // namespace kolvio::sql
