// The block summaries' sidecar: trusted only for the file it describes,
// ignored when damaged or foreign, and kept current by our own writes.
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <thread>

#include <gtest/gtest.h>

#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/file.h"
#include "data/file_system.h"
#include "data/summary/summary_file.h"
#include "data/summary/summary_upkeep.h"
#include "data/table.h"
#include "data/table_writer.h"
#include "tests/data/stamp_changes.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

std::vector<FieldDef> RideFields() {
    return {FieldDef::DateField("DATUM"), FieldDef::Float("DELKA", 20, 4),
            FieldDef::Char("POPIS1", 30), FieldDef::Logical("SR_MER")};
}

// The summaries as a full read of the table gives them, every numeric field known.
TableZones ZonesByReading(const std::string& path) {
    std::unique_ptr<DbfFile> f;
    EXPECT_TRUE(DbfFile::Open(path, false, LockMode::kNone, &f).ok());
    const auto& fields = f->header().fields;
    TableZones zones(fields.size(), f->recordCount());
    for (uint32_t b = 0; b < zones.blocks(); ++b) {
        zones.setLiveRows(b, 0);
        for (size_t i = 0; i < fields.size(); ++i) {
            if (fields[i].type != FieldType::kChar) zones.setZone(i, b, {Zone::State::kNoValues});
        }
    }
    std::string rec;
    for (uint32_t r = 0; r < f->recordCount(); ++r) {
        EXPECT_TRUE(f->readRecord(r, &rec).ok());
        if (rec[0] == '*') continue;
        const uint32_t b = r / kZoneRows;
        zones.setLiveRows(b, zones.liveRows(b) + 1);
        for (size_t i = 0; i < fields.size(); ++i) {
            if (fields[i].type == FieldType::kChar) continue;
            Zone z = zones.zone(i, b);
            if (auto v = DecodeNumber(fields[i], rec.data())) z.include(*v);
            zones.setZone(i, b, z);
        }
    }
    return zones;
}

using testing::StampNow;

std::shared_ptr<TableZones> SidecarNow(const std::string& path) {
    std::unique_ptr<DbfFile> f;
    EXPECT_TRUE(DbfFile::Open(path, false, LockMode::kNone, &f).ok());
    return ReadSummaries(path, StampNow(path), f->recordCount(), f->header().fields.size());
}

class SummaryTest : public ::testing::Test {
protected:
    // `rows` rides a day apart, distances 10..59, every 9th deleted.
    void WriteRides(int rows) {
        TableWriter w;
        ASSERT_TRUE(w.begin(path(), RideFields()).ok());
        const int32_t base = Date::FromYmd(2000, 1, 1)->dayNumber();
        for (int i = 0; i < rows; ++i) {
            ASSERT_TRUE(w.setValue(0, Value(Date::FromDayNumber(base + i))).ok());
            ASSERT_TRUE(w.setValue(1, Value(10.0 + i % 50)).ok());
            ASSERT_TRUE(w.setValue(3, Value(i % 2 == 0)).ok());
            ASSERT_TRUE(w.addRecord().ok());
        }
        ASSERT_TRUE(w.commit().ok());
        std::unique_ptr<DbfFile> f;
        ASSERT_TRUE(DbfFile::Open(path(), true, LockMode::kNone, &f).ok());
        for (int i = 0; i < rows; i += 9)
            ASSERT_TRUE(f->markDeleted(static_cast<uint32_t>(i), true).ok());
    }
    // A sidecar that describes the table as it is now.
    void Summarise() {
        ASSERT_TRUE(WriteSummaries(path(), StampNow(path()), ZonesByReading(path())).ok());
    }
    // The sidecar is present, trusted and right.
    void ExpectCurrent(const char* after) {
        const auto zones = SidecarNow(path());
        ASSERT_NE(zones, nullptr) << after;
        EXPECT_TRUE(*zones == ZonesByReading(path())) << after;
    }
    void ExpectCurrentIn(const std::string& dir, const char* after) {
        const auto zones = SidecarNow(dir + "/jizdy.dbf");
        ASSERT_NE(zones, nullptr) << after;
        EXPECT_TRUE(*zones == ZonesByReading(dir + "/jizdy.dbf")) << after;
    }
    std::string path() const { return dir_.file("jizdy.dbf"); }

    testing::TempDir dir_;
};

TEST_F(SummaryTest, SidecarIsTrustedOnlyForTheFileStateItNames) {
    WriteRides(100);
    Summarise();
    ExpectCurrent("written");
    const SummaryStamp stamp = StampNow(path());
    const TableZones zones = ZonesByReading(path());
    for (const testing::StampChange& c : testing::kStampChanges) {
        SummaryStamp other = stamp;
        c.change(&other);
        EXPECT_EQ(ReadSummaries(path(), other, zones.recordCount(), zones.fieldCount()), nullptr)
            << c.what;
    }
    EXPECT_EQ(ReadSummaries(path(), stamp, zones.recordCount() + 1, zones.fieldCount()), nullptr);
    EXPECT_EQ(ReadSummaries(path(), stamp, zones.recordCount(), zones.fieldCount() + 1), nullptr);
}

TEST_F(SummaryTest, DamagedOrForeignSidecarIsIgnored) {
    WriteRides(300);
    const SummaryStamp stamp = StampNow(path());
    const TableZones zones = ZonesByReading(path());
    const std::string good = EncodeSummaries(stamp, zones);
    const std::string sidecar = SummarySidecarPath(path());
    auto readWith = [&](const std::string& bytes) {
        std::ofstream(sidecar, std::ios::binary | std::ios::trunc) << bytes;
        return ReadSummaries(path(), stamp, zones.recordCount(), zones.fieldCount());
    };
    ASSERT_NE(readWith(good), nullptr);
    for (size_t i = 0; i < good.size(); ++i) {
        std::string bad = good;
        bad[i] = static_cast<char>(bad[i] ^ 0x10);
        ASSERT_EQ(readWith(bad), nullptr) << "byte " << i << " changed";
    }
    EXPECT_EQ(readWith(good.substr(0, good.size() - 1)), nullptr) << "cut short";
    EXPECT_EQ(readWith(good + '\0'), nullptr) << "longer";
    EXPECT_EQ(readWith(""), nullptr) << "empty";
    EXPECT_EQ(readWith("KOLVIO-INDEX 1\nDELKA\tDELKA\tA\n"), nullptr) << "foreign";
    // The next writer replaces a damaged file.
    readWith("garbage");
    ASSERT_TRUE(WriteSummaries(path(), stamp, zones).ok());
    EXPECT_NE(ReadSummaries(path(), stamp, zones.recordCount(), zones.fieldCount()), nullptr);
}

TEST_F(SummaryTest, OurAppendsEditsAndDeletionsKeepTheSidecarCurrent) {
    WriteRides(kZoneRows - 1);  // the next append starts a new block
    Summarise();
    Table t(dir_.path(), "jizdy.dbf");
    ASSERT_TRUE(t.open().ok());
    auto append = [&](double km, bool withDate) {
        ASSERT_TRUE(t.append().ok());
        ASSERT_TRUE(t.setValue("DELKA", Value(km)).ok());
        if (withDate) {
            ASSERT_TRUE(t.setValue("DATUM", Value(*Date::FromYmd(2031, 5, 1))).ok());
        }
        ASSERT_TRUE(t.post().ok());
    };
    append(500, true);
    ExpectCurrent("an append that starts a block");
    append(7, false);
    ExpectCurrent("an append to that block, without a date");
    // The block's largest distance made smaller: the zone narrows.
    ASSERT_TRUE(t.locate("DELKA", Value(500.0)).ok());
    ASSERT_TRUE(t.edit().ok());
    ASSERT_TRUE(t.setValue("DELKA", Value(20.0)).ok());
    ASSERT_TRUE(t.post().ok());
    ExpectCurrent("an edit of the largest value");
    ASSERT_TRUE(t.first().ok());
    ASSERT_TRUE(t.edit().ok());
    ASSERT_TRUE(t.setValue("DELKA", Value(-3.0)).ok());
    ASSERT_TRUE(t.setNull("DATUM").ok());
    ASSERT_TRUE(t.post().ok());
    ExpectCurrent("an edit that widens one zone and empties a value of another");
    ASSERT_TRUE(t.locate("DELKA", Value(7.0)).ok());
    ASSERT_TRUE(t.deleteRecord().ok());
    ExpectCurrent("a deletion");
    ASSERT_TRUE(t.first().ok());
    ASSERT_TRUE(t.deleteRecord().ok());
    ExpectCurrent("a deletion of the smallest value");
}

TEST_F(SummaryTest, WriteOfAnotherProgramRightAfterOursIsNeverMissed) {
    // Without the modification time set back after our write, a write within
    // the same clock tick that keeps the size would keep the identity too.
    WriteRides(50);
    for (int round = 0; round < 20; ++round) {
        Summarise();
        {
            Table t(dir_.path(), "jizdy.dbf");
            ASSERT_TRUE(t.open().ok());
            ASSERT_TRUE(t.append().ok());
            ASSERT_TRUE(t.setValue("DELKA", Value(1.0 + round)).ok());
            ASSERT_TRUE(t.post().ok());
        }
        ASSERT_NE(SidecarNow(path()), nullptr) << "round " << round;
        // Kernels with fine-grained change times after a query tell the
        // writes apart anyway; the time set back tells them apart everywhere.
        FileIdentity ours;
        ASSERT_TRUE(CurrentFileIdentity(path(), &ours));
        EXPECT_LT(ours.modifiedNs, ours.changedNs) << "round " << round;
        std::unique_ptr<DbfFile> peer;
        ASSERT_TRUE(DbfFile::Open(path(), true, LockMode::kNone, &peer).ok());
        std::string rec;
        ASSERT_TRUE(peer->readRecord(1, &rec).ok());
        ASSERT_TRUE(EncodeField(peer->header().fields[1], Value(900.0 + round), rec.data(),
                                CodePage::kCp852, nullptr)
                        .ok());
        ASSERT_TRUE(peer->writeRecord(1, rec).ok());
        EXPECT_EQ(SidecarNow(path()), nullptr) << "round " << round;
    }
}

TEST_F(SummaryTest, RestoredContentWithItsOldTimesIsNotTrusted) {
    WriteRides(50);
    std::ifstream in(path(), std::ios::binary);
    const std::string before((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    in.close();
    Summarise();
    struct stat st {};
    ASSERT_EQ(::stat(path().c_str(), &st), 0);
    // Restored in place as a backup tool would: other bytes, same size, the
    // modification time put back. Only the change time tells.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::string other = before;
    other[other.size() - 10] = other[other.size() - 10] == '1' ? '2' : '1';
    std::ofstream(path(), std::ios::binary | std::ios::in | std::ios::out) << other;
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path().c_str(), times, 0), 0);
    EXPECT_EQ(SidecarNow(path()), nullptr);
}

TEST_F(SummaryTest, StaleSidecarIsNotRefreshedByOurNextWrite) {
    WriteRides(50);
    Summarise();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    {
        std::unique_ptr<DbfFile> peer;
        ASSERT_TRUE(DbfFile::Open(path(), true, LockMode::kNone, &peer).ok());
        ASSERT_TRUE(peer->markDeleted(3, true).ok());
    }
    Table t(dir_.path(), "jizdy.dbf");
    ASSERT_TRUE(t.open().ok());
    ASSERT_TRUE(t.append().ok());
    ASSERT_TRUE(t.post().ok());
    EXPECT_EQ(SidecarNow(path()), nullptr);
}

TEST_F(SummaryTest, PackedTableGetsItsSummariesAgain) {
    WriteRides(kZoneRows + 100);
    Summarise();
    Table t(dir_.path(), "jizdy.dbf");
    ASSERT_TRUE(t.open(true).ok());
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(t.deleteRecord().ok());
    ASSERT_TRUE(t.pack().ok());
    ExpectCurrent("a pack");
    EXPECT_EQ(t.recordCount(), ZonesByReading(path()).recordCount());
}

TEST_F(SummaryTest, TableWithoutSummariesGetsNoneFromAPack) {
    WriteRides(20);
    Table t(dir_.path(), "jizdy.dbf");
    ASSERT_TRUE(t.open(true).ok());
    ASSERT_TRUE(t.pack().ok());
    EXPECT_FALSE(PathExists(SummarySidecarPath(path())));
}

// Fails the Nth call made for the summaries' sidecar (a read, write, rename
// or removal of a file whose name holds ".kzm", or the setting of the
// table's modification time that only the summaries' upkeep makes): with
// EIO, or by writing half the bytes and then running out of space.
class SidecarFaults : public PosixFileSystem {
public:
    explicit SidecarFaults(int nth = 0, bool shortWrite = false)
        : nth_(nth), shortWrite_(shortWrite) {}
    int calls() const { return calls_; }
    bool fired() const { return fired_; }

    int open(const char* path, int flags, mode_t mode) override {
        const int fd = PosixFileSystem::open(path, flags, mode);
        if (fd >= 0) sidecar_[fd] = IsSidecar(path);
        return fd;
    }
    ssize_t pread(int fd, void* buf, size_t n, off_t offset) override {
        if (sidecar_[fd] && hit()) return Fail();
        return PosixFileSystem::pread(fd, buf, n, offset);
    }
    ssize_t pwrite(int fd, const void* buf, size_t n, off_t offset) override {
        if (!sidecar_[fd] || !hit()) return PosixFileSystem::pwrite(fd, buf, n, offset);
        if (shortWrite_ && n > 1) return PosixFileSystem::pwrite(fd, buf, n / 2, offset);
        return Fail();
    }
    int rename(const char* from, const char* to) override {
        if (IsSidecar(to) && hit()) return Fail();
        return PosixFileSystem::rename(from, to);
    }
    int unlink(const char* path) override {
        if (IsSidecar(path) && hit()) return Fail();
        return PosixFileSystem::unlink(path);
    }
    int futimens(int fd, const struct timespec times[2]) override {
        if (hit()) return Fail();
        return PosixFileSystem::futimens(fd, times);
    }

private:
    static bool IsSidecar(const char* path) {
        return std::string(path).find(".kzm") != std::string::npos;
    }
    bool hit() {
        if (++calls_ != nth_) return false;
        fired_ = true;
        return true;
    }
    static int Fail() {
        errno = EIO;
        return -1;
    }

    int nth_;
    bool shortWrite_;
    int calls_ = 0;
    bool fired_ = false;
    std::map<int, bool> sidecar_;
};

TEST_F(SummaryTest, SidecarThatCannotBeWrittenNeverFailsOrChangesTheTableWrite) {
    WriteRides(50);
    // Each run starts from a copy of the table with a sidecar made for it.
    const std::string work = dir_.file("work");
    const auto reset = [&] {
        std::filesystem::remove_all(work);
        std::filesystem::create_directory(work);
        std::filesystem::copy(path(), work);
        const std::string copy = work + "/jizdy.dbf";
        ASSERT_TRUE(WriteSummaries(copy, StampNow(copy), ZonesByReading(copy)).ok());
    };
    const auto tableBytes = [&] {
        std::ifstream in(work + "/jizdy.dbf", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const struct {
        const char* name;
        std::function<Status(Table&)> write;
    } writes[] = {
        {"append",
         [](Table& t) {
             KOLVIO_RETURN_IF_ERROR(t.append());
             KOLVIO_RETURN_IF_ERROR(t.setValue("DELKA", Value(321.0)));
             return t.post();
         }},
        {"edit",
         [](Table& t) {
             KOLVIO_RETURN_IF_ERROR(t.moveToRow(4));
             KOLVIO_RETURN_IF_ERROR(t.edit());
             KOLVIO_RETURN_IF_ERROR(t.setValue("DELKA", Value(-5.0)));
             return t.post();
         }},
        {"deletion",
         [](Table& t) {
             KOLVIO_RETURN_IF_ERROR(t.moveToRow(7));
             return t.deleteRecord();
         }},
    };
    int injected = 0;
    for (const auto& [name, write] : writes) {
        SCOPED_TRACE(name);
        const auto run = [&](SidecarFaults& fs) {
            reset();
            Table t(work, "jizdy.dbf");
            EXPECT_TRUE(t.open().ok());
            ScopedFileSystem installed(fs);
            return write(t);
        };
        SidecarFaults counting;
        ASSERT_TRUE(run(counting).ok());
        const std::string stored = tableBytes();
        ExpectCurrentIn(work, "the unfailed write");
        ASSERT_GT(counting.calls(), 2);
        for (int n = 1; n <= counting.calls(); ++n) {
            for (const bool shortWrite : {false, true}) {
                SCOPED_TRACE("sidecar call #" + std::to_string(n) + (shortWrite ? " short" : ""));
                SidecarFaults failing(n, shortWrite);
                const Status st = run(failing);
                if (!failing.fired()) continue;
                ++injected;
                EXPECT_TRUE(st.ok()) << st.message();
                EXPECT_EQ(tableBytes(), stored) << "the table write changed";
                // The sidecar is right for the table, or not trusted at all.
                if (const auto zones = SidecarNow(work + "/jizdy.dbf")) {
                    EXPECT_TRUE(*zones == ZonesByReading(work + "/jizdy.dbf"));
                }
                std::vector<std::string> names;
                ASSERT_TRUE(ListDirectory(work, &names).ok());
                for (const std::string& file : names) {
                    EXPECT_EQ(file.find(".tmp"), std::string::npos) << file << " left behind";
                }
            }
        }
    }
    EXPECT_GT(injected, 6);
}

}  // namespace
}  // namespace kolvio
