// The index contents kept beside a table: trusted only for the table state
// they lead to, ignored when damaged or foreign, kept current by our own
// writes through a journal that is folded once it grows long.
#include <algorithm>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "data/dbf/dbf_file.h"
#include "data/index/index_data.h"
#include "data/index/index_store.h"
#include "data/index/table_index.h"
#include "data/summary/summary_file.h"
#include "data/table.h"
#include "data/table_writer.h"
#include "tests/data/stamp_changes.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

const std::vector<IndexDef> kDefs = {
    {"TRS_C", "TRS_C", false},            // numbers, many equal keys
    {"POPIS1", "POPIS1", false},          // text keys
    {"_DELKA", "DELKA", true},            // descending
    {"DATUM_TRS", "DATUM+TRS_C", false},  // several fields
};

using testing::StampNow;

uint32_t RecordsNow(const std::string& path) {
    std::unique_ptr<DbfFile> f;
    EXPECT_TRUE(DbfFile::Open(path, false, LockMode::kNone, &f).ok());
    return f->recordCount();
}

class IndexDataTest : public ::testing::Test {
protected:
    void SetUp() override { SetIndexSnapshotMinimumAge(0); }
    void TearDown() override { SetIndexSnapshotMinimumAge(3'000'000'000); }

    // `rows` rides, routes 0..6, every 9th deleted.
    void WriteRides(int rows) {
        TableWriter w;
        ASSERT_TRUE(w.begin(path(), {FieldDef::DateField("DATUM"), FieldDef::Numeric("TRS_C", 5, 0),
                                     FieldDef::Char("POPIS1", 20), FieldDef::Float("DELKA", 20, 4)})
                        .ok());
        const int32_t base = Date::FromYmd(2000, 1, 1)->dayNumber();
        const char* words[] = {"Šumava", "sníh", "Znojmo", "žár", "", "Ústí"};
        for (int i = 0; i < rows; ++i) {
            ASSERT_TRUE(w.setValue(0, Value(Date::FromDayNumber(base + i / 3))).ok());
            ASSERT_TRUE(w.setValue(1, Value(static_cast<double>(i % 7))).ok());
            ASSERT_TRUE(w.setValue(2, Value(std::string(words[i % 6]))).ok());
            if (i % 5 != 0) {
                ASSERT_TRUE(w.setValue(3, Value(10.0 + i % 40)).ok());
            }
            ASSERT_TRUE(w.addRecord().ok());
        }
        ASSERT_TRUE(w.commit().ok());
        std::unique_ptr<DbfFile> f;
        ASSERT_TRUE(DbfFile::Open(path(), true, LockMode::kNone, &f).ok());
        for (int i = 0; i < rows; i += 9)
            ASSERT_TRUE(f->markDeleted(static_cast<uint32_t>(i), true).ok());
        ASSERT_TRUE(WriteIndexDefs(IndexSidecarPath(path()), kDefs).ok());
    }

    // The index as a read of the whole table gives it.
    IndexSection Built(const IndexDef& def) {
        std::unique_ptr<DbfFile> f;
        EXPECT_TRUE(DbfFile::Open(path(), false, LockMode::kNone, &f).ok());
        std::unique_ptr<TableIndex> index;
        EXPECT_TRUE(TableIndex::Make(def, f->header().fields, &index).ok());
        EXPECT_TRUE(index->build(*f, CodePage::kCp852).ok());
        return index->section();
    }

    void Snapshot() {
        std::vector<IndexSection> sections;
        for (const IndexDef& def : kDefs)
            sections.push_back(Built(def));
        ASSERT_TRUE(
            WriteIndexData(path(), StampNow(path()), RecordsNow(path()), CodePage::kCp852, sections)
                .ok());
    }

    // The index as loaded from the file; nullopt when the file is not trusted.
    std::optional<IndexSection> Loaded(const IndexDef& def) {
        std::unique_ptr<DbfFile> f;
        EXPECT_TRUE(DbfFile::Open(path(), false, LockMode::kNone, &f).ok());
        std::unique_ptr<TableIndex> index;
        EXPECT_TRUE(TableIndex::Make(def, f->header().fields, &index).ok());
        if (!LoadPersistedIndex(path(), *f, CodePage::kCp852, index.get())) return std::nullopt;
        return index->section();
    }

    void ExpectCurrentIndex(const IndexDef& def, const char* after) {
        const auto loaded = Loaded(def);
        ASSERT_TRUE(loaded.has_value()) << after << ", index " << def.name;
        EXPECT_TRUE(*loaded == Built(def)) << after << ", index " << def.name;
    }

    void ExpectCurrent(const char* after) {
        for (const IndexDef& def : kDefs) {
            const auto loaded = Loaded(def);
            ASSERT_TRUE(loaded.has_value()) << after << ", index " << def.name;
            EXPECT_TRUE(*loaded == Built(def)) << after << ", index " << def.name;
        }
    }

    size_t JournalEntries() {
        const auto data = IndexData::Open(path(), StampNow(path()), RecordsNow(path()));
        return data ? data->journalEntries() : SIZE_MAX;
    }

    std::string path() const { return dir_.file("jizdy.dbf"); }
    testing::TempDir dir_;
};

TEST_F(IndexDataTest, SnapshotGivesBackEveryKindOfIndex) {
    WriteRides(200);
    Snapshot();
    ExpectCurrent("a snapshot");
    // A key looked up in the file without loading it.
    std::unique_ptr<DbfFile> f;
    ASSERT_TRUE(DbfFile::Open(path(), false, LockMode::kNone, &f).ok());
    std::unique_ptr<TableIndex> index;
    ASSERT_TRUE(TableIndex::Make(kDefs[1], f->header().fields, &index).ok());
    const auto data = IndexData::Open(path(), StampNow(path()), RecordsNow(path()));
    ASSERT_NE(data, nullptr);
    auto matching = [&](const char* key) {
        IndexSection section;
        std::optional<size_t> run;
        EXPECT_TRUE(
            data->read(*data->find(kDefs[1]), &section, [&](const IndexSection& keys, size_t r) {
                run = index->runOf(keys, {Value(std::string(key))});
                return run == r;
            }));
        return section.recnos;
    };
    std::vector<uint32_t> expected;
    for (uint32_t r = 0; r < 200; ++r) {
        if (r % 6 == 2 && r % 9 != 0) expected.push_back(r);
    }
    EXPECT_EQ(matching("Znojmo"), expected);
    EXPECT_TRUE(matching("Znojm").empty());
}

TEST_F(IndexDataTest, FileIsTrustedOnlyForTheTableStateItNames) {
    WriteRides(100);
    Snapshot();
    const SummaryStamp stamp = StampNow(path());
    const uint32_t records = RecordsNow(path());
    ASSERT_NE(IndexData::Open(path(), stamp, records), nullptr);
    for (const testing::StampChange& c : testing::kStampChanges) {
        SummaryStamp other = stamp;
        c.change(&other);
        EXPECT_EQ(IndexData::Open(path(), other, records), nullptr) << c.what;
    }
    EXPECT_EQ(IndexData::Open(path(), stamp, records - 1), nullptr) << "fewer records";
    // A journal entry that does not start where the snapshot ends.
    FileIdentity elsewhere = stamp.identity;
    elsewhere.modifiedNs += 7;
    EXPECT_EQ(AppendIndexJournal(path(), elsewhere, stamp.identity, 3), 0u);
    EXPECT_NE(IndexData::Open(path(), stamp, records), nullptr) << "nothing appended";
}

TEST_F(IndexDataTest, DamagedOrForeignFileIsIgnored) {
    WriteRides(20);
    Snapshot();
    const SummaryStamp stamp = StampNow(path());
    const uint32_t records = RecordsNow(path());
    FileIdentity after = stamp.identity;
    after.modifiedNs += 1;
    ASSERT_EQ(AppendIndexJournal(path(), stamp.identity, after, 5), 1u);
    SummaryStamp current{after, stamp.layout};
    const std::string file = IndexDataPath(path());
    std::ifstream in(file, std::ios::binary);
    const std::string good{std::istreambuf_iterator<char>(in), {}};
    // Whole and undamaged: every index readable.
    auto usable = [&](const std::string& bytes) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        const auto data = IndexData::Open(path(), current, records);
        if (!data || data->sectionCount() != kDefs.size()) return false;
        IndexSection s;
        for (size_t i = 0; i < data->sectionCount(); ++i) {
            if (!data->read(i, &s)) return false;
        }
        return true;
    };
    ASSERT_TRUE(usable(good));
    for (size_t i = 0; i < good.size(); ++i) {
        std::string bad = good;
        bad[i] = static_cast<char>(bad[i] ^ 0x04);
        ASSERT_FALSE(usable(bad)) << "byte " << i << " of " << good.size() << " changed";
    }
    EXPECT_FALSE(usable(good.substr(0, good.size() - 1))) << "last entry torn";
    EXPECT_FALSE(usable(good + '\0')) << "longer";
    EXPECT_FALSE(usable("")) << "empty";
    EXPECT_FALSE(usable("KOLVIO-INDEX 1\nTRS_C\tTRS_C\tA\n")) << "foreign";
    EXPECT_FALSE(usable(EncodeSummaries(stamp, TableZones(4, records)))) << "another sidecar";
    // The next writer replaces a damaged file.
    ASSERT_FALSE(usable("garbage"));
    Snapshot();
    ExpectCurrent("rewritten over a damaged file");
}

TEST_F(IndexDataTest, OurAppendsEditsAndDeletionsAreJournalled) {
    WriteRides(100);
    Snapshot();
    Table t(dir_.path(), "jizdy.dbf");
    ASSERT_TRUE(t.open().ok());
    ASSERT_TRUE(t.append().ok());
    ASSERT_TRUE(t.setValue("TRS_C", Value(3.0)).ok());
    ASSERT_TRUE(t.setValue("POPIS1", Value(std::string("Říp"))).ok());
    ASSERT_TRUE(t.post().ok());
    ExpectCurrent("an append");
    ASSERT_TRUE(t.locate("POPIS1", Value(std::string("Říp"))).ok());
    ASSERT_TRUE(t.edit().ok());
    ASSERT_TRUE(t.setValue("TRS_C", Value(99.0)).ok());
    ASSERT_TRUE(t.setValue("DELKA", Value(1.5)).ok());
    ASSERT_TRUE(t.post().ok());
    ExpectCurrent("an edit of the keys");
    ASSERT_TRUE(t.first().ok());
    ASSERT_TRUE(t.deleteRecord().ok());
    ExpectCurrent("a deletion");
    EXPECT_EQ(JournalEntries(), 3u) << "each write adds an entry; the snapshot stays";
}

TEST_F(IndexDataTest, WriteOfAnotherProgramBreaksTheChainForGood) {
    WriteRides(100);
    Snapshot();
    {
        Table t(dir_.path(), "jizdy.dbf");
        ASSERT_TRUE(t.open().ok());
        ASSERT_TRUE(t.append().ok());
        ASSERT_TRUE(t.post().ok());
    }
    ExpectCurrent("our append");
    {
        std::unique_ptr<DbfFile> f;
        ASSERT_TRUE(DbfFile::Open(path(), true, LockMode::kNone, &f).ok());
        ASSERT_TRUE(f->markDeleted(1, true).ok());
    }
    EXPECT_FALSE(Loaded(kDefs[0]).has_value()) << "a write not journalled";
    Table t(dir_.path(), "jizdy.dbf");
    ASSERT_TRUE(t.open().ok());
    ASSERT_TRUE(t.append().ok());
    ASSERT_TRUE(t.post().ok());
    EXPECT_FALSE(Loaded(kDefs[0]).has_value()) << "our later write does not mend the chain";
}

TEST_F(IndexDataTest, LongJournalIsFoldedIntoANewSnapshot) {
    WriteRides(50);
    Snapshot();
    Table t(dir_.path(), "jizdy.dbf");
    ASSERT_TRUE(t.open().ok());
    for (int i = 0; i < 1030; ++i) {
        ASSERT_TRUE(t.append().ok());
        ASSERT_TRUE(t.setValue("TRS_C", Value(static_cast<double>(i % 11))).ok());
        ASSERT_TRUE(t.post().ok());
    }
    EXPECT_LT(JournalEntries(), 1024u);
    ExpectCurrent("a fold");
}

TEST_F(IndexDataTest, SnapshotAfterAReadNeedsATableUnchangedBeforeTheRead) {
    WriteRides(100);
    std::unique_ptr<DbfFile> f;
    ASSERT_TRUE(DbfFile::Open(path(), false, LockMode::kNone, &f).ok());
    std::unique_ptr<TableIndex> index;
    ASSERT_TRUE(TableIndex::Make(kDefs[0], f->header().fields, &index).ok());
    TableState before;
    ASSERT_TRUE(CurrentTableState(path(), *f, &before));
    ASSERT_TRUE(index->build(*f, CodePage::kCp852).ok());
    SetIndexSnapshotMinimumAge(3'000'000'000);
    PersistBuiltIndex(path(), *f, CodePage::kCp852, before, WallClockNs(), kDefs, *index);
    EXPECT_FALSE(Loaded(kDefs[0]).has_value()) << "changed less than 3 s before the read";
    SetIndexSnapshotMinimumAge(0);
    PersistBuiltIndex(path(), *f, CodePage::kCp852, before, WallClockNs(), kDefs, *index);
    ASSERT_TRUE(Loaded(kDefs[0]).has_value());
    // Another index built later keeps the first one in the file.
    ASSERT_TRUE(TableIndex::Make(kDefs[2], f->header().fields, &index).ok());
    ASSERT_TRUE(index->build(*f, CodePage::kCp852).ok());
    PersistBuiltIndex(path(), *f, CodePage::kCp852, before, WallClockNs(), kDefs, *index);
    EXPECT_TRUE(Loaded(kDefs[0]).has_value());
    EXPECT_TRUE(Loaded(kDefs[2]).has_value());
    EXPECT_FALSE(Loaded(kDefs[1]).has_value()) << "never built";
}

TEST_F(IndexDataTest, TableLeavesItsIndexesForTheNextAndTakesThemBack) {
    WriteRides(300);
    {
        Table t(dir_.path(), "jizdy.dbf");
        ASSERT_TRUE(t.open().ok());
        ASSERT_TRUE(t.setIndexName("POPIS1").ok());
    }
    ExpectCurrentIndex(kDefs[1], "the table built the index");
    EXPECT_FALSE(Loaded(kDefs[0]).has_value()) << "only what was used is kept";
    // Another handle appends; the next one takes the index from the file and
    // the journal and shows the rows in its order.
    {
        Table t(dir_.path(), "jizdy.dbf");
        ASSERT_TRUE(t.open().ok());
        ASSERT_TRUE(t.append().ok());
        ASSERT_TRUE(t.setValue("POPIS1", Value(std::string("Aš"))).ok());
        ASSERT_TRUE(t.post().ok());
    }
    Table t(dir_.path(), "jizdy.dbf");
    ASSERT_TRUE(t.open().ok());
    ASSERT_TRUE(t.setIndexName("POPIS1").ok());
    std::vector<std::string> shown;
    ASSERT_TRUE(t.first().ok());
    while (!t.eof()) {
        shown.push_back(t.value("POPIS1").asText());
        ASSERT_TRUE(t.next().ok());
    }
    ASSERT_EQ(shown.size(), 300u - 34u + 1u);
    EXPECT_EQ(shown[0], "") << "blank first";
    const auto as = std::find(shown.begin(), shown.end(), "Aš");
    ASSERT_NE(as, shown.end());
    EXPECT_TRUE(as == shown.begin() || *(as - 1) == "");
    EXPECT_EQ(shown.back(), "žár");
}

}  // namespace
}  // namespace kolvio
