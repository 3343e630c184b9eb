// Statements nested too deeply are refused with their place; long flat
// chains of AND, OR, + and * run, both in a small stack.
#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>
#include <memory>

#include "data/sql/sql_engine.h"
#include "data/temp_dir.h"
#include "diary_fixture.h"

namespace kolvio::sql {
namespace {

// Runs `body` on a thread with a stack of a quarter of the usual 8 MB, so
// that recursion per nesting level or per chain term would overflow it.
void InSmallStack(const std::function<void()>& body) {
    pthread_attr_t attr;
    ASSERT_EQ(pthread_attr_init(&attr), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attr, 2 << 20), 0);
    pthread_t thread;
    auto run = [](void* arg) -> void* {
        (*static_cast<const std::function<void()>*>(arg))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attr, run, const_cast<std::function<void()>*>(&body)), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
}

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

class NestingTest : public ::testing::Test {
protected:
    void SetUp() override { sqltest::WriteDiary(dir_.path()); }

    // The statement's single value, or its error message.
    std::string Single(const std::string& sql) {
        std::string answer;
        InSmallStack([&] {
            std::unique_ptr<ResultSet> r;
            const Status st = Query(dir_.path(), sql, &r);
            if (!st.ok()) {
                answer = st.message();
            } else if (r->size() != 1) {
                answer = std::to_string(r->size()) + " řádků";
            } else {
                answer = std::to_string(r->valueAt(0, 0).asDouble());
            }
        });
        return answer;
    }

    kolvio::testing::TempDir dir_;
};

TEST_F(NestingTest, NestingBeyondTheLimitIsRefusedWithItsPlace) {
    const struct {
        std::string sql;
        int column;  // where the level beyond the limit begins
    } rows[] = {
        {"SELECT " + Repeat("(", 10000) + "1" + Repeat(")", 10000) + " FROM jizdy", 108},
        {"SELECT COUNT(*) FROM jizdy WHERE " + Repeat("NOT ", 100000) + "DELKA > 1", 430},
        {"SELECT " + Repeat("- ", 100000) + "1 FROM jizdy", 206},
        {"SELECT " + Repeat("MAX(", 3) + "1" + Repeat(")", 3) + " FROM jizdy " +
             "WHERE DELKA IN (" + Repeat("(", 200) + "1" + Repeat(")", 200) + ")",
         0},
    };
    for (const auto& row : rows) {
        const std::string message = Single(row.sql);
        EXPECT_NE(message.find("vnořený příliš hluboko"), std::string::npos) << message;
        if (row.column > 0) {
            EXPECT_NE(message.find("(řádek 1, sloupec " + std::to_string(row.column) + ")"),
                      std::string::npos)
                << message;
        }
    }
}

TEST_F(NestingTest, NestingWithinTheLimitRuns) {
    EXPECT_EQ(Single("SELECT " + Repeat("(", 95) + "7" + Repeat(")", 95) + " FROM jizdy " +
                     "WHERE DATUM = \"2.1.2024\""),
              std::to_string(7.0));
    EXPECT_EQ(Single("SELECT COUNT(*) FROM jizdy WHERE " + Repeat("NOT ", 98) + "DELKA > 0"),
              std::to_string(9.0));
}

TEST_F(NestingTest, LongFlatChainsRun) {
    const int n = 50000;
    std::string all = "DELKA > -1";
    std::string any = "DELKA = -1";
    for (int i = 1; i < n; ++i) {
        all += " AND DELKA > -" + std::to_string(i + 1);
        any += " OR DELKA = -" + std::to_string(i + 1);
    }
    EXPECT_EQ(Single("SELECT COUNT(*) FROM jizdy WHERE " + all), std::to_string(9.0));
    EXPECT_EQ(Single("SELECT COUNT(*) FROM jizdy WHERE " + any + " OR DELKA > 0"),
              std::to_string(9.0));
    const std::string one = " FROM jizdy WHERE DATUM = \"2.1.2024\"";
    EXPECT_EQ(Single("SELECT 1" + Repeat(" + 1", n - 1) + one), std::to_string(50000.0));
    // The other operators share the chain; shorter ones show them at work.
    EXPECT_EQ(Single("SELECT 100000" + Repeat(" - 1", 9999) + one), std::to_string(90001.0));
    EXPECT_EQ(Single("SELECT 3" + Repeat(" * 1", 9999) + " / 2" + one), std::to_string(1.5));
}

TEST_F(NestingTest, ChainsApplyTheirOperatorsFromTheLeft) {
    const std::string one = " FROM jizdy WHERE DATUM = \"2.1.2024\"";
    EXPECT_EQ(Single("SELECT 10 - 4 - 3" + one), std::to_string(3.0));
    EXPECT_EQ(Single("SELECT 2 * 3 / 4 * 2" + one), std::to_string(3.0));
    EXPECT_EQ(Single("SELECT 1 - 2 * 3 + 8 / 4 / 2" + one), std::to_string(-4.0));
    // A null term makes the whole chain null; so does a division by zero.
    EXPECT_EQ(Single("SELECT COUNT(*) FROM jizdy WHERE 1 + DELKA + 1 IS NULL"),
              std::to_string(1.0));
    EXPECT_EQ(Single("SELECT COUNT(*) FROM jizdy WHERE 1 / 0 * 0 + 1 IS NULL"),
              std::to_string(10.0));
}

}  // namespace
}  // namespace kolvio::sql
