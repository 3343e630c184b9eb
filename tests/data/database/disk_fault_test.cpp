// A disk that fails part way through never costs a stored byte.
//
// Each whole-file operation runs once to count the writes, fsyncs, renames
// and removals it makes, then once per call with that call failing (EIO,
// ENOSPC, and for writes a short write that runs out of space). After every
// failure the operation must have reported it, naming the file, and the
// folder must hold byte for byte what it held before: originals untouched,
// no temporary file left. Appending a row is checked the same way, except
// that the row may be stored whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "data/database/codepage_upgrade.h"
#include "data/database/database.h"
#include "data/database/result_table.h"
#include "data/database/ride_upgrade.h"
#include "data/file.h"
#include "data/sql/sql_engine.h"
#include "data/table.h"
#include "tests/data/database/old_database.h"
#include "tests/data/fault_file_system.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::Fault;
using testing::FaultFileSystem;
using testing::FsCall;
using testing::FsError;
using testing::TempDir;
using Files = std::map<std::string, std::string>;

// Every file under `dir` by its path relative to it, folders included.
Files Everything(const std::string& dir) {
    Files files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        const std::string rel = std::filesystem::relative(entry.path(), dir).string();
        files[rel] = entry.is_regular_file() ? testing::ReadFileBytes(entry.path().string())
                                             : std::string("<folder>");
    }
    return files;
}

// The names that differ between two states of a folder.
std::string Differences(const Files& before, const Files& after) {
    std::string out;
    for (const auto& [name, bytes] : before) {
        const auto it = after.find(name);
        if (it == after.end())
            out += " " + name + " (gone)";
        else if (it->second != bytes)
            out += " " + name + " (changed)";
    }
    for (const auto& [name, bytes] : after) {
        if (!before.count(name)) out += " " + name + " (left behind)";
    }
    return out;
}

// The call numbers to fail out of `count`: every one with
// KOLVIO_ALL_FAULTS=1 in the environment; otherwise the first and last few
// (where files are created, committed and cleaned up) and an even spread
// of those in between, so that the normal test run stays short.
std::vector<int> CallsToFail(int count) {
    constexpr int kEnds = 6, kBetween = 8;
    const char* all = std::getenv("KOLVIO_ALL_FAULTS");
    std::vector<int> calls;
    for (int n = 1; n <= count; ++n) {
        const bool end = n <= kEnds || n > count - kEnds;
        const int stride = std::max(1, (count - 2 * kEnds) / kBetween);
        if ((all && *all == '1') || end || (n - kEnds) % stride == 0) calls.push_back(n);
    }
    return calls;
}

// The faults a run of `counts` calls is tried with.
std::vector<Fault> EveryFault(const FaultFileSystem& counts) {
    std::vector<Fault> faults;
    for (FsCall call : {FsCall::kWrite, FsCall::kSync, FsCall::kRename, FsCall::kRemove}) {
        for (int n : CallsToFail(counts.count(call))) {
            faults.push_back({call, n, FsError::kEio});
            faults.push_back({call, n, FsError::kNoSpace});
            if (call == FsCall::kWrite) faults.push_back({call, n, FsError::kShortWrite});
        }
    }
    return faults;
}

class DiskFaultTest : public ::testing::Test {
protected:
    using Setup = std::function<void(const std::string& dir)>;
    using Operation = std::function<Status(const std::string& dir)>;

    std::string work() const { return tmp.file("work"); }
    std::string templ() const { return tmp.file("template"); }

    // Builds the starting folder once; each run starts from a copy of it.
    void prepare(const Setup& setup) {
        std::filesystem::create_directory(templ());
        setup(templ());
    }
    void reset() {
        std::filesystem::remove_all(work());
        std::filesystem::copy(templ(), work(), std::filesystem::copy_options::recursive);
    }

    // Runs `op` unfailed (it must succeed and change something), then once
    // per fault. A fault must fail the operation with a message giving one
    // of `names` and leave the folder as it was; only a fault in a clean-up
    // after the result is in place may pass, and then the folder holds what
    // the unfailed run left, plus at most a file ending in one of
    // `harmless`. Returns how many faults were injected.
    int expectEveryFaultLeavesTheFolder(const Operation& op, const std::vector<std::string>& names,
                                        const std::vector<std::string>& harmless = {}) {
        reset();
        const Files start = Everything(work());
        FaultFileSystem counting;
        {
            ScopedFileSystem installed(counting);
            const Status st = op(work());
            EXPECT_TRUE(st.ok()) << st.message();
        }
        const Files done = Everything(work());
        EXPECT_NE(done, start) << "the operation changes nothing to prove";
        int injected = 0;
        for (const Fault& fault : EveryFault(counting)) {
            SCOPED_TRACE(Describe(fault));
            reset();
            FaultFileSystem failing(fault);
            Status st;
            {
                ScopedFileSystem installed(failing);
                st = op(work());
            }
            if (!failing.fired()) continue;  // the run took another path
            ++injected;
            const Files after = Everything(work());
            if (st.ok()) {
                EXPECT_TRUE(SameApartFrom(done, after, harmless))
                    << "a failure reported as success:" << Differences(done, after);
            } else {
                EXPECT_TRUE(NamesOneOf(st.message(), names)) << st.message();
                EXPECT_EQ(Differences(start, after), "");
            }
            if (HasFailure()) break;  // one fault's report is enough to go on
        }
        return injected;
    }

    static bool SameApartFrom(const Files& expected, const Files& actual,
                              const std::vector<std::string>& harmless) {
        for (const auto& [name, bytes] : actual) {
            const auto it = expected.find(name);
            if (it != expected.end() && it->second == bytes) continue;
            const bool excused =
                std::any_of(harmless.begin(), harmless.end(), [&](const auto& end) {
                    return name.size() >= end.size() &&
                           name.compare(name.size() - end.size(), end.size(), end) == 0;
                });
            if (!excused) return false;
        }
        return std::all_of(expected.begin(), expected.end(),
                           [&](const auto& entry) { return actual.count(entry.first) > 0; });
    }

    static bool NamesOneOf(const std::string& message, const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            if (message.find(name) != std::string::npos) return true;
        }
        return false;
    }

    TempDir tmp;
    // Between the runs under faults too: no fsync waits for the disk.
    FaultFileSystem quiet;
    ScopedFileSystem quietInstalled{quiet};
};

// A ride table with texts, numbers, deleted rows and route pictures in its
// memo file, for the operations on one table.
void WriteRides(const std::string& dir) {
    ASSERT_TRUE(Table::Create(dir, "jizdy.dbf",
                              {FieldDef::DateField("DATUM"), FieldDef::Float("DELKA", 20, 4),
                               FieldDef::Char("POPIS1", 60), FieldDef::Blob("OBR")})
                    .ok());
    Table t(dir, "jizdy.dbf");
    ASSERT_TRUE(t.open(true).ok());
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(t.append().ok());
        ASSERT_TRUE(t.setValue("DATUM", Value(*Date::FromYmd(2024, 1 + i % 12, 1 + i % 28))).ok());
        ASSERT_TRUE(t.setValue("DELKA", Value(i * 1.25)).ok());
        ASSERT_TRUE(t.setValue("POPIS1", Value("Jízda " + std::to_string(i) + " přes Říp")).ok());
        if (i % 4 == 0) {
            ASSERT_TRUE(t.setValue("OBR", Value(std::string(300 + i, 'x'))).ok());
        }
        ASSERT_TRUE(t.post().ok());
    }
    for (int row : {30, 12, 3}) {
        ASSERT_TRUE(t.moveToRow(row).ok());
        ASSERT_TRUE(t.deleteRecord().ok());
    }
    ASSERT_TRUE(t.setIndexName("").ok());
}

TEST_F(DiskFaultTest, PackThatFailsLeavesTheTableAndItsMemoByteIdentical) {
    prepare(WriteRides);
    const int injected = expectEveryFaultLeavesTheFolder(
        [](const std::string& dir) {
            Table t(dir, "jizdy.dbf");
            KOLVIO_RETURN_IF_ERROR(t.open(true));
            return t.pack();
        },
        {"jizdy.dbf"});
    EXPECT_GT(injected, 0);
}

TEST_F(DiskFaultTest, AddColumnThatFailsLeavesTheTableByteIdentical) {
    prepare(WriteRides);
    const int injected = expectEveryFaultLeavesTheFolder(
        [](const std::string& dir) {
            return sql::Execute(dir, "ALTER TABLE jizdy ADD TEPY NUMERIC(3,0)");
        },
        {"jizdy.dbf"});
    EXPECT_GT(injected, 0);
}

TEST_F(DiskFaultTest, CodePageConversionThatFailsLeavesTheOldTableToConvertNextTime) {
    prepare([](const std::string& dir) {
        ASSERT_TRUE(testing::WriteOldDatabase(dir, testing::SampleOldRides()).ok());
    });
    const int injected = expectEveryFaultLeavesTheFolder(
        [](const std::string& dir) { return ConvertTableCodepage(dir, "typ_trs.dbf"); },
        {"typ_trs.dbf", "typ_trs.kix"});
    EXPECT_GT(injected, 0);
}

TEST_F(DiskFaultTest, RideTableUpgradeThatFailsLeavesTheOldTableAndNoStagingCopy) {
    prepare([](const std::string& dir) {
        ASSERT_TRUE(testing::WriteOldDatabase(dir, testing::SampleOldRides()).ok());
    });
    const int injected = expectEveryFaultLeavesTheFolder(
        [](const std::string& dir) {
            Table rides(dir, "jizdy.dbf");
            testing::RecordingShell shell;
            return DodelejSloupec1(rides, shell);
        },
        {"jizdy.dbf", UpgradeStagingName("jizdy.dbf")});
    EXPECT_GT(injected, 0);
}

TEST_F(DiskFaultTest, ResultWrittenIntoATableThatFailsLeavesTheOldResult) {
    prepare([](const std::string& dir) {
        WriteRides(dir);
        std::unique_ptr<sql::ResultSet> r;
        ASSERT_TRUE(sql::Query(dir, "select popis1, obr from jizdy where delka < 5", &r).ok());
        sql::CopyReport report;
        ASSERT_TRUE(ReplaceWithResult(*r, dir, "vysledek.dbf", &report).ok());
    });
    const int injected = expectEveryFaultLeavesTheFolder(
        [](const std::string& dir) {
            std::unique_ptr<sql::ResultSet> r;
            KOLVIO_RETURN_IF_ERROR(sql::Query(dir, "select datum, delka, obr from jizdy", &r));
            sql::CopyReport report;
            return ReplaceWithResult(*r, dir, "vysledek.dbf", &report);
        },
        {"vysledek.dbf", "vysledek.dbt"}, {".kix", ".kolvio-old"});
    EXPECT_GT(injected, 0);
}

// Appending a row: the row is stored whole or not at all, the count in the
// header matches the rows the file holds, and the rows and memos stored
// before are untouched.
TEST_F(DiskFaultTest, AppendThatFailsStoresTheRowWholeOrNotAtAllAndKeepsTheRest) {
    prepare(WriteRides);
    const auto appendRide = [](const std::string& dir) -> Status {
        Table t(dir, "jizdy.dbf");
        KOLVIO_RETURN_IF_ERROR(t.open());
        KOLVIO_RETURN_IF_ERROR(t.append());
        KOLVIO_RETURN_IF_ERROR(t.setValue("DATUM", Value(*Date::FromYmd(2025, 5, 1))));
        KOLVIO_RETURN_IF_ERROR(t.setValue("DELKA", Value(123.5)));
        KOLVIO_RETURN_IF_ERROR(t.setValue("POPIS1", Value(std::string("Nová jízda: Žďár"))));
        KOLVIO_RETURN_IF_ERROR(t.setValue("OBR", Value(std::string(900, 'P'))));
        return t.post();
    };
    reset();
    const Files start = Everything(work());
    const std::string& table = start.at("jizdy.dbf");
    const std::string& memo = start.at("jizdy.dbt");
    const auto word = [&](size_t at) {
        return static_cast<size_t>(static_cast<uint8_t>(table[at])) |
               static_cast<size_t>(static_cast<uint8_t>(table[at + 1])) << 8;
    };
    const size_t headerLength = word(8), recordLength = word(10);
    const auto countIn = [](const std::string& bytes) {
        int64_t n = 0;
        for (int i = 7; i >= 4; --i)
            n = n << 8 | static_cast<uint8_t>(bytes[static_cast<size_t>(i)]);
        return n;
    };
    const int64_t rows = countIn(table);

    FaultFileSystem counting;
    {
        ScopedFileSystem installed(counting);
        ASSERT_TRUE(appendRide(work()).ok());
    }
    int injected = 0, stored = 0;
    for (const Fault& fault : EveryFault(counting)) {
        SCOPED_TRACE(Describe(fault));
        reset();
        FaultFileSystem failing(fault);
        Status st;
        {
            ScopedFileSystem installed(failing);
            st = appendRide(work());
        }
        if (!failing.fired()) continue;
        ++injected;
        EXPECT_TRUE(st.failed()) << "a failure reported as success";
        EXPECT_TRUE(NamesOneOf(st.message(), {"jizdy.dbf", "jizdy.dbt"})) << st.message();
        const Files after = Everything(work());
        ASSERT_EQ(after.size(), start.size()) << Differences(start, after);

        const std::string& nowTable = after.at("jizdy.dbf");
        EXPECT_EQ(nowTable.substr(headerLength, static_cast<size_t>(rows) * recordLength),
                  table.substr(headerLength, static_cast<size_t>(rows) * recordLength))
            << "a row stored before changed";
        EXPECT_EQ(after.at("jizdy.dbt").substr(512, memo.size() - 512), memo.substr(512))
            << "a memo stored before changed";
        Table t(work(), "jizdy.dbf");
        ASSERT_TRUE(t.open().ok());
        const int64_t now = countIn(nowTable);
        ASSERT_TRUE(now == rows || now == rows + 1) << now;
        const size_t fileRows = (nowTable.size() - headerLength) / recordLength;
        EXPECT_EQ(fileRows, static_cast<size_t>(now)) << "the count does not match the file";
        if (now == rows + 1) {
            ++stored;
            ASSERT_TRUE(t.last().ok());
            EXPECT_EQ(t.getString("POPIS1"), "Nová jízda: Žďár");
            EXPECT_EQ(t.getDouble("DELKA"), 123.5);
            EXPECT_EQ(t.getString("OBR"), std::string(900, 'P'));
        }
        ASSERT_TRUE(t.first().ok());
        EXPECT_EQ(t.getString("POPIS1"), "Jízda 0 přes Říp");
        EXPECT_EQ(t.getString("OBR"), std::string(300, 'x'));
        if (HasFailure()) break;
    }
    EXPECT_GT(injected, 0);
    std::printf("[  faults  ] append: %d injected, row stored whole after %d\n", injected, stored);
}

// A new database is made in a staging folder and moved in table by table: a
// failure before the first table moves leaves the folder as it was; one
// after it keeps the staging folder, so that the next opening makes the
// whole database anew (or, once every table is in place, makes the indexes).
TEST_F(DiskFaultTest, NewDatabaseThatFailsLeavesTheFolderOrACreationTheNextOpeningCompletes) {
    prepare(
        [](const std::string& dir) { std::ofstream(dir + "/poznamky.txt") << "Moje poznámky"; });
    const auto create = [](const std::string& dir) {
        Database db;
        return db.MOtevriNovaDB(dir, OverwritePolicy::kKeepFiles);
    };
    reset();
    const Files start = Everything(work());
    FaultFileSystem counting;
    {
        ScopedFileSystem installed(counting);
        ASSERT_TRUE(create(work()).ok());
    }
    int injected = 0, completedLater = 0;
    for (const Fault& fault : EveryFault(counting)) {
        SCOPED_TRACE(Describe(fault));
        reset();
        FaultFileSystem failing(fault);
        Status st;
        {
            ScopedFileSystem installed(failing);
            st = create(work());
        }
        if (!failing.fired()) continue;
        ++injected;
        EXPECT_TRUE(st.failed()) << "a failure reported as success";
        EXPECT_TRUE(NamesOneOf(st.message(), {work()})) << st.message();
        if (Everything(work()) != start) {
            // Past the first move (or with the database made and only its
            // index definitions failing), the next opening finishes it.
            ++completedLater;
            Database db;
            ASSERT_TRUE(db.MOtevriNovaDB(work(), OverwritePolicy::kKeepFiles).ok())
                << st.message() << Differences(start, Everything(work()));
            EXPECT_EQ(db.TTHLD().recordCount(), 3);
            EXPECT_EQ(db.TTRS().recordCount(), 2);
            EXPECT_FALSE(CreationInterrupted(work()));
        }
        EXPECT_EQ(testing::ReadFileBytes(work() + "/poznamky.txt"), "Moje poznámky");
        if (HasFailure()) break;
    }
    EXPECT_GT(injected, 0);
    std::printf("[  faults  ] new database: %d injected, %d completed by the next opening\n",
                injected, completedLater);
}

}  // namespace
}  // namespace kolvio
