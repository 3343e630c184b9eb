// Bringing an older database up to date: columns, back-fill, code page.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "data/codepage.h"
#include "data/database/codepage_upgrade.h"
#include "data/database/database.h"
#include "data/database/ride_upgrade.h"
#include "data/database/schema.h"
#include "data/dbf/dbf_file.h"
#include "data/dbf/memo_file.h"
#include "data/file.h"
#include "data/index/index_def.h"
#include "tests/data/database/old_database.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::OldRide;
using testing::RecordingShell;
using testing::TempDir;

// What a Windows-1250 text reads as once converted: the 53 Kamenický
// characters keep their meaning (four become substitutes), any other byte is
// kept and so reads as the code page 852 character of that byte.
std::string ExpectedAfterConversion(const std::string& utf8) {
    const std::string kept = "ČüéďäĎŤčěĚĹÍľĺÄÁÉžŽôöÓůÚýÖÜŠĽÝŘťáíóúňŇŮÔšřŕŔ«»ß÷°";
    std::string out;
    size_t pos = 0;
    while (pos < utf8.size()) {
        const size_t start = pos;
        const char32_t cp = NextCodePoint(utf8, &pos);
        const std::string ch = utf8.substr(start, pos - start);
        if (cp < 0x80 || kept.find(ch) != std::string::npos) {
            out += ch;
        } else if (ch == "đ") {
            out += "d";
        } else if (ch == "±") {
            out += "-";
        } else if (ch == "·") {
            out += DecodeToUtf8("\xF9", CodePage::kCp852);
        } else if (ch == "•") {
            out += DecodeToUtf8("\xFA", CodePage::kCp852);
        } else {
            out += DecodeToUtf8(EncodeFromUtf8(ch, CodePage::kCp1250), CodePage::kCp852);
        }
    }
    return out;
}

uint8_t LanguageByte(const std::string& path) {
    return static_cast<uint8_t>(testing::ReadFileBytes(path).at(29));
}

class UpgradeTest : public ::testing::Test {
protected:
    TempDir tmp;
    RecordingShell shell;
};

TEST_F(UpgradeTest, OlderDatabaseKeepsEveryRowAndCharacter) {
    const std::vector<OldRide> rides = testing::SampleOldRides();
    ASSERT_TRUE(testing::WriteOldDatabase(tmp.path(), rides).ok());
    const std::string memoBefore = testing::ReadFileBytes(tmp.file("typ_trs.dbt"));
    Database db(&shell);
    OpenReport report;
    ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles, &report).ok());
    EXPECT_FALSE(report.created);
    EXPECT_TRUE(report.watchTypesCreated);
    EXPECT_EQ(report.columnsAdded.size(), RideUpgradeColumns().size());
    EXPECT_EQ(report.tablesConverted,
              (std::vector<std::string>{"jizdy.dbf", "typ_kol.dbf", "typ_trn.dbf", "typ_trnz.dbf",
                                        "typ_trs.dbf"}));
    for (std::string_view name : kDatabaseFiles) {
        EXPECT_EQ(LanguageByte(tmp.file(std::string(name))), 0x1F) << name;
    }

    Table& t = db.Table1();
    ASSERT_EQ(t.recordCount(), 4);  // the deleted ride stays invisible
    ASSERT_TRUE(t.first().ok());
    for (const OldRide& r : rides) {
        if (r.deleted) continue;
        SCOPED_TRACE(r.text);
        EXPECT_EQ(t.getString("POPIS1"), ExpectedAfterConversion(r.text));
        EXPECT_EQ(t.getDouble("DELKA"), r.km);
        EXPECT_EQ(t.getDouble("CAS"), r.hours);
        EXPECT_EQ(t.getDouble("PRUMER"), r.avg);
        EXPECT_EQ(t.getInt("TRN_C"), r.subtype);
        EXPECT_EQ(t.getInt("ROK"), r.year.value_or(1899));
        EXPECT_EQ(t.getInt("THL_C"), 0);
        EXPECT_FALSE(t.isNull("THL_C"));
        EXPECT_FALSE(t.getBool("SR_MER"));
        EXPECT_FALSE(t.isNull("SR_MER"));
        for (const char* f : {"SR_AVG", "SR_MAX", "SR_KCAL", "SR_PLP", "SR_PLC", "SR_X", "SR_LIM",
                              "SR_AXP", "SR_ALP", "SR_MXP", "SR_MLP"}) {
            EXPECT_TRUE(t.isNull(f)) << f;
        }
        ASSERT_TRUE(t.next().ok());
    }
    // Added columns follow POPIS1 in the order of the upgrade.
    const auto& fields = t.fields();
    ASSERT_EQ(fields.size(), 13 + RideUpgradeColumns().size());
    EXPECT_EQ(fields[13].name, "ROK");
    EXPECT_EQ(fields[15].type, FieldType::kLogical);
    EXPECT_EQ(fields.back().name, "SR_MLP");
    EXPECT_EQ(fields.back().length, 20);
    EXPECT_EQ(fields.back().decimals, 4);

    ASSERT_EQ(db.TTRS().recordCount(), testing::kOldRouteCount);
    ASSERT_TRUE(db.TTRS().first().ok());
    for (int i = 0; i < testing::kOldRouteCount; ++i, (void)db.TTRS().next()) {
        EXPECT_EQ(db.TTRS().getString("TRS_MEZI"), testing::kOldRouteNames[i]);
    }
    ASSERT_TRUE(db.TTRS().locate("TRS_C", 2).ok());
    EXPECT_EQ(db.TTRS().getString("TRS_N2"), "ŽĎÁR");
    EXPECT_EQ(db.TTRS().getString("TRS_OBR"), testing::kOldRoutePicture);  // binary, untouched
    EXPECT_EQ(testing::ReadFileBytes(tmp.file("typ_trs.dbt")), memoBefore);
    ASSERT_TRUE(db.TTKOL().locate("KOL_C", 2).ok());
    EXPECT_EQ(db.TTKOL().getString("KOL_ZNA"), "Škoda");
    EXPECT_EQ(db.TTHLD().recordCount(), 3);

    EXPECT_EQ(shell.lines("gauge-show"), (std::vector<std::string>{"gauge-show dopočítávám hodnoty",
                                                                   "gauge-show dopočítávám hodnoty",
                                                                   "gauge-show dopisuji hodnoty"}));
    EXPECT_EQ(shell.lines("gauge-hide").size(), 3u);
}

TEST_F(UpgradeTest, GaugeRisesToOneHundredPerBackFilledColumn) {
    std::vector<OldRide> rides(5, testing::SampleOldRides()[0]);
    ASSERT_TRUE(testing::WriteOldDatabase(tmp.path(), rides).ok());
    Database db(&shell);
    ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles).ok());
    std::vector<std::string> expected;
    for (const char* text : {"dopočítávám hodnoty", "dopočítávám hodnoty", "dopisuji hodnoty"}) {
        expected.push_back(std::string("gauge-show ") + text);
        for (const char* p : {"gauge 25", "gauge 50", "gauge 75", "gauge 100"})
            expected.push_back(p);
        expected.push_back("gauge-hide");
    }
    std::vector<std::string> gauge;
    for (const std::string& line : shell.log) {
        if (line.rfind("gauge", 0) == 0) gauge.push_back(line);
    }
    EXPECT_EQ(gauge, expected);
}

TEST_F(UpgradeTest, OneRowTableShowsTheGaugeAtOneHundred) {
    ASSERT_TRUE(testing::WriteOldDatabase(tmp.path(), {testing::SampleOldRides()[0]}).ok());
    Database db(&shell);
    ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles).ok());
    EXPECT_EQ(shell.lines("gauge "), (std::vector<std::string>(3, "gauge 100")));
}

TEST_F(UpgradeTest, RideTableLackingOnlySrMlpGetsOnlyThatColumnAndNoGauge) {
    std::vector<FieldDef> fields = CreatedFields("jizdy.dbf");
    fields.pop_back();
    ASSERT_EQ(fields.back().name, "SR_MXP");
    ASSERT_TRUE(Table::Create(tmp.path(), "jizdy.dbf", fields).ok());
    Table rides(tmp.path(), "jizdy.dbf");
    std::vector<std::string> added;
    ASSERT_TRUE(DodelejSloupec1(rides, shell, &added).ok());
    EXPECT_EQ(added, (std::vector<std::string>{"sr_mlp"}));
    EXPECT_TRUE(shell.lines("gauge").empty());
    ASSERT_TRUE(rides.open().ok());
    EXPECT_EQ(rides.fields().size(), fields.size() + 1);
    EXPECT_EQ(rides.fields().back().name, "SR_MLP");
    EXPECT_FALSE(PathExists(tmp.file(UpgradeStagingName("jizdy.dbf"))));
}

TEST_F(UpgradeTest, RideTableHeldElsewhereStaysAsItWas) {
    ASSERT_TRUE(testing::WriteOldDatabase(tmp.path(), testing::SampleOldRides()).ok());
    const std::string before = testing::ReadFileBytes(tmp.file("jizdy.dbf"));
    Table holder(tmp.path(), "jizdy.dbf");
    ASSERT_TRUE(holder.open().ok());
    Table rides(tmp.path(), "jizdy.dbf");
    EXPECT_EQ(DodelejSloupec1(rides, shell).code(), Status::Code::kLocked);
    EXPECT_EQ(testing::ReadFileBytes(tmp.file("jizdy.dbf")), before);
    EXPECT_FALSE(PathExists(tmp.file(UpgradeStagingName("jizdy.dbf"))));
}

TEST_F(UpgradeTest, ConvertTextMapsTheKamenickyCharactersAndKeepsEveryOtherByte) {
    const struct {
        const char* windows1250;
        const char* cp852;
    } cases[] = {
        {"abc XYZ 09", "abc XYZ 09"},
        {"\xC8\xE8", "\xAC\x9F"},                          // Č č
        {"\xD8\xF8\x8A\x9A", "\xFC\xFD\xE6\xE7"},          // Ř ř Š š
        {"\xF9\xD9\xEC\xCC", "\x85\xDE\xD8\xB7"},          // ů Ů ě Ě
        {"\x8E\x9E\xDD\xFD", "\xA6\xA7\xED\xEC"},          // Ž ž Ý ý
        {"\xAB\xBB\xDF\xF7\xB0", "\xAE\xAF\xE1\xF6\xF8"},  // « » ß ÷ °
        {"\xF0\xB1\xB7\x95", "d-\xF9\xFA"},                // đ ± · • get substitutes
        {"\xA5\xA3\x8C\x8F\xAF\xA7\x84\x93\x96", "\xA5\xA3\x8C\x8F\xAF\xA7\x84\x93\x96"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConvertText(c.windows1250), c.cp852) << c.windows1250;
    }
}

TEST_F(UpgradeTest, TableAlreadyInCodePage852IsLeftByteForByte) {
    ASSERT_TRUE(
        testing::WriteRawTable(tmp.path(),
                               {"typ_kol.dbf",
                                {FieldDef::Numeric("KOL_C", 3, 0), FieldDef::Char("KOL_TYP", 20)},
                                {{"1", "kolo č. 1"}},
                                {},
                                {}},
                               0x1F)
            .ok());
    ASSERT_TRUE(
        WriteIndexDefs(IndexSidecarPath(tmp.file("typ_kol.dbf")), {{"_KOL_TYP", "KOL_TYP", true}})
            .ok());
    const auto before = testing::Snapshot(tmp.path());
    bool converted = true;
    ASSERT_TRUE(ConvertTableCodepage(tmp.path(), "TYP_KOL.DBF", &converted).ok());
    EXPECT_FALSE(converted);
    EXPECT_EQ(testing::Snapshot(tmp.path()), before);
}

TEST_F(UpgradeTest, ConversionDropsIndexDefinitionsAndConvertsDeletedRowsToo) {
    ASSERT_TRUE(testing::WriteRawTable(
                    tmp.path(), {"typ_kol.dbf",
                                 {FieldDef::Numeric("KOL_C", 3, 0), FieldDef::Char("KOL_TYP", 20)},
                                 {{"1", "žluté"}, {"2", "červené"}},
                                 {false, true},
                                 {}})
                    .ok());
    ASSERT_TRUE(
        WriteIndexDefs(IndexSidecarPath(tmp.file("typ_kol.dbf")), {{"_KOL_TYP", "KOL_TYP", true}})
            .ok());
    ASSERT_TRUE(ConvertTableCodepage(tmp.path(), "typ_kol.dbf").ok());
    EXPECT_FALSE(PathExists(tmp.file("typ_kol.kix")));
    const std::string bytes = testing::ReadFileBytes(tmp.file("typ_kol.dbf"));
    EXPECT_NE(bytes.find(EncodeFromUtf8("červené", CodePage::kCp852)), std::string::npos);
    Table t(tmp.path(), "typ_kol.dbf");
    ASSERT_TRUE(t.open().ok());
    EXPECT_EQ(t.recordCount(), 1);
    EXPECT_EQ(t.getString("KOL_TYP"), "žluté");
}

// Whole-file rewrites of an older database: the upgrade of jizdy and the
// code page conversion of the other tables.
TEST_F(UpgradeTest, UpgradeKeepsSymlinkedTablesLinkedAndTheirModes) {
    ASSERT_TRUE(testing::WriteOldDatabase(tmp.path(), testing::SampleOldRides()).ok());
    TempDir elsewhere;
    for (const char* name : {"jizdy.dbf", "typ_kol.dbf"}) {
        std::filesystem::rename(tmp.file(name), elsewhere.file(name));
        std::filesystem::create_symlink(elsewhere.file(name), tmp.file(name));
        ASSERT_EQ(::chmod(elsewhere.file(name).c_str(), 0660), 0);
    }
    Database db(&shell);
    OpenReport report;
    ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles, &report).ok());
    EXPECT_FALSE(report.columnsAdded.empty());
    for (const char* name : {"jizdy.dbf", "typ_kol.dbf"}) {
        EXPECT_TRUE(std::filesystem::is_symlink(tmp.file(name))) << name;
        EXPECT_EQ(LanguageByte(elsewhere.file(name)), 0x1F) << name;
        struct stat st;
        ASSERT_EQ(::stat(elsewhere.file(name).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0660u) << name;
    }
    EXPECT_EQ(db.Table1().recordCount(), 4);
    EXPECT_TRUE(db.Table1().hasField("SR_MLP"));
    std::vector<std::string> left;
    ASSERT_TRUE(ListDirectory(elsewhere.path(), &left).ok());
    EXPECT_EQ(left.size(), 2u);
}

TEST_F(UpgradeTest, ReadOnlyOlderTableIsRefusedNotRewritten) {
    ASSERT_TRUE(testing::WriteOldDatabase(tmp.path(), testing::SampleOldRides()).ok());
    for (const char* name : {"jizdy.dbf", "typ_trn.dbf"}) {
        ASSERT_EQ(::chmod(tmp.file(name).c_str(), 0444), 0);
    }
    const std::string rides = testing::ReadFileBytes(tmp.file("jizdy.dbf"));
    const std::string types = testing::ReadFileBytes(tmp.file("typ_trn.dbf"));
    Database db(&shell);
    Status st = db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles);
    EXPECT_FALSE(st.ok());
    EXPECT_NE(st.message().find("jen pro čtení"), std::string::npos) << st.message();
    EXPECT_EQ(testing::ReadFileBytes(tmp.file("jizdy.dbf")), rides);
    // With the rides writable again, the conversion stops at typ_trn.
    ASSERT_EQ(::chmod(tmp.file("jizdy.dbf").c_str(), 0644), 0);
    st = db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles);
    EXPECT_NE(st.message().find("typ_trn.dbf"), std::string::npos) << st.message();
    EXPECT_NE(st.message().find("jen pro čtení"), std::string::npos) << st.message();
    EXPECT_EQ(testing::ReadFileBytes(tmp.file("typ_trn.dbf")), types);
}

}  // namespace
}  // namespace kolvio
