// kolvio-db run as a program: what it refuses, what it prints, what it leaves.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "data/dbf/dbf_file.h"
#include "data/file.h"
#include "data/table.h"
#include "tests/cli/run_program.h"
#include "tests/data/scoped_tmpfs.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::ProgramRun;
using testing::TempDir;

ProgramRun KolvioDb(const std::vector<std::string>& args, int seconds = 20) {
    return testing::RunProgram(KOLVIO_DB, args, seconds);
}

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    File f;
    uint64_t size = 0;
    if (!File::Open(path, false, &f).ok() || !f.size(&size).ok()) return "<chybí>";
    bytes.resize(size);
    if (!f.readAt(0, size, bytes.data()).ok()) return "<nečitelný>";
    return bytes;
}

// Every file of a directory with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        files[entry.path().filename().string()] =
            entry.is_regular_file() ? ReadBytes(entry.path().string()) : "<není soubor>";
    }
    return files;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class KolvioDbTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(MakeDirectories(dir).ok());
        const ProgramRun run = KolvioDb({"open", dir});
        ASSERT_EQ(run.exitCode, 0) << run.err;
    }

    ProgramRun Sql(const std::string& statement, const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args = {"sql", dir, "-e", statement};
        args.insert(args.end(), extra.begin(), extra.end());
        return KolvioDb(args);
    }

    TempDir parent;
    const std::string dir = parent.file("db");
};

TEST_F(KolvioDbTest, IntoNeverReplacesADatabaseFile) {
    const auto before = Snapshot(dir);
    for (const char* target : {"typ_trs.dbt", "JIZDY.DBF", "jizdy", "Typ_Hld", "typ_kol.kix",
                               "typ_trs.dbf.kolvio-new", "../escape.dbf", "/tmp/escape.dbf", ""}) {
        SCOPED_TRACE(target);
        const ProgramRun run = Sql("SELECT * FROM typ_kol", {"--into", target});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_TRUE(Contains(run.err, "tabulk") || Contains(run.err, "Název")) << run.err;
        EXPECT_EQ(Snapshot(dir), before);
    }
    EXPECT_FALSE(PathExists(parent.file("escape.dbf")));
    EXPECT_FALSE(PathExists("/tmp/escape.dbf"));
}

TEST_F(KolvioDbTest, IntoReplacesAWorkTableWithTheWholeResultAndNoIndexes) {
    ASSERT_EQ(Sql("SELECT KOL_C FROM typ_kol", {"--into", "VYSLEDEK"}).exitCode, 0);
    {
        Table result(dir, "VYSLEDEK.dbf");
        ASSERT_TRUE(result.open(true).ok());
        ASSERT_TRUE(result.addIndex({"KOL_C", "KOL_C", false}).ok());
    }
    const ProgramRun run = Sql("SELECT TRN_C, TRN_N FROM typ_trn", {"--into", "vysledek.dbf"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "vysledek.dbf: 8 řádků\n");
    Table result(dir, "VYSLEDEK.dbf");
    ASSERT_TRUE(result.open().ok());
    EXPECT_EQ(result.recordCount(), 8);
    EXPECT_TRUE(result.hasField("TRN_N"));
    EXPECT_TRUE(result.indexDefs().empty());
    for (const auto& [name, bytes] : Snapshot(dir))
        EXPECT_FALSE(Contains(name, ".kolvio-")) << name;
}

TEST_F(KolvioDbTest, IntoRefusesATableAnotherProgramHolds) {
    ASSERT_EQ(Sql("SELECT * FROM typ_kol", {"--into", "VYSLEDEK"}).exitCode, 0);
    const std::string before = ReadBytes(parent.file("db/VYSLEDEK.dbf"));
    Table holder(dir, "VYSLEDEK.dbf");  // the result viewer has it open
    ASSERT_TRUE(holder.open().ok());
    const ProgramRun run = Sql("SELECT * FROM typ_trn", {"--into", "VYSLEDEK"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "právě používá jiný program")) << run.err;
    EXPECT_EQ(ReadBytes(parent.file("db/VYSLEDEK.dbf")), before);
}

TEST(KolvioDbFullDiskTest, FullDiskIntoKeepsThePreviousResult) {
    testing::ScopedTmpfs disk(3 << 20);
    if (!disk.ok()) GTEST_SKIP() << "no tmpfs can be mounted here";
    ASSERT_EQ(KolvioDb({"open", disk.path()}).exitCode, 0);
    // 5,000 rides of 100 characters: half a megabyte to copy.
    ASSERT_TRUE(Table::Create(disk.path(), "zdroj.dbf",
                              {FieldDef::Numeric("C", 6, 0), FieldDef::Char("TEXT", 100)})
                    .ok());
    Table source(disk.path(), "zdroj.dbf");
    ASSERT_TRUE(source.open().ok());
    for (int i = 0; i < 5000; ++i) {
        ASSERT_TRUE(source.append().ok());
        ASSERT_TRUE(source.setValue("C", i).ok());
        ASSERT_TRUE(source.setValue("TEXT", std::string(100, 'x')).ok());
        ASSERT_TRUE(source.post().ok());
    }
    source.close();
    const std::string small = "SELECT * FROM zdroj WHERE C < 10";
    ASSERT_EQ(KolvioDb({"sql", disk.path(), "-e", small, "--into", "vysledek"}).exitCode, 0);
    const std::string before = ReadBytes(disk.file("vysledek.dbf"));
    const auto space = std::filesystem::space(disk.path());
    ASSERT_TRUE(testing::FillFile(disk.file("vypln"), space.available - (100 << 10)));

    const ProgramRun run =
        KolvioDb({"sql", disk.path(), "-e", "SELECT * FROM zdroj", "--into", "vysledek"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "není volné místo")) << run.err;
    EXPECT_EQ(ReadBytes(disk.file("vysledek.dbf")), before);
    for (const auto& [name, bytes] : Snapshot(disk.path()))
        EXPECT_FALSE(Contains(name, ".kolvio-")) << name;
    EXPECT_EQ(KolvioDb({"check", disk.path()}).exitCode, 0);
}

TEST_F(KolvioDbTest, FifoTableIsRefusedWithoutBlocking) {
    // Pipes named like a table and like an index sidecar: opening either
    // for reading would wait for a writer for ever.
    for (const char* name : {"typ_kol.dbf", "typ_trs.kix"}) {
        ASSERT_EQ(::unlink(parent.file(std::string("db/") + name).c_str()), 0);
        ASSERT_EQ(::mkfifo(parent.file(std::string("db/") + name).c_str(), 0644), 0);
    }
    const std::vector<std::vector<std::string>> commands = {
        {"check", dir},
        {"dump", dir + "/typ_kol.dbf", "--rows"},
        {"sql", dir, "-e", "SELECT * FROM typ_kol"},
        {"open", dir},
        {"pack", dir},
    };
    for (const auto& args : commands) {
        SCOPED_TRACE(args[0]);
        const ProgramRun run = KolvioDb(args, 10);
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(Contains(run.out + run.err, "není obyčejný soubor")) << run.out << run.err;
    }
}

TEST_F(KolvioDbTest, DumpWritesEveryFieldByItsLengthWhateverBytesItHolds) {
    ASSERT_TRUE(
        Table::Create(dir, "t.dbf", {FieldDef::Char("TEXT", 10), FieldDef::Numeric("N", 3, 0)})
            .ok());
    Table t(dir, "t.dbf");
    ASSERT_TRUE(t.open().ok());
    for (const char* text : {"ab\"cXde", "dalsi"}) {
        ASSERT_TRUE(t.append().ok());
        ASSERT_TRUE(t.setValue("TEXT", text).ok());
        ASSERT_TRUE(t.setValue("N", 7).ok());
        ASSERT_TRUE(t.post().ok());
    }
    t.close();
    // A damaged first row: a NUL byte in the middle of its text.
    std::string bytes = ReadBytes(dir + "/t.dbf");
    const size_t at = bytes.find("ab\"cXde");
    ASSERT_NE(at, std::string::npos);
    bytes[at + 4] = '\0';
    File f;
    ASSERT_TRUE(File::Open(dir + "/t.dbf", true, &f).ok());
    ASSERT_TRUE(f.writeAt(0, bytes).ok());

    const ProgramRun run = KolvioDb({"dump", dir + "/t.dbf", "--rows"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string rows = run.out.substr(run.out.find("_DELETED"));
    using namespace std::string_literals;
    EXPECT_EQ(rows, "_DELETED,TEXT,N\n0,\"ab\"\"c\0de\",7\n0,dalsi,7\n"s);
}

TEST_F(KolvioDbTest, MessagesAndValuesPrintAsARiderReadsThem) {
    // A control character is named by its hexadecimal code, as editors show it.
    ProgramRun run = Sql("SELECT \x1b KOL_C FROM typ_kol");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "\\x1B")) << run.err;
    // Negative zero is zero.
    run = Sql("SELECT -0 AS X, -(KOL_C - KOL_C) AS Y FROM typ_kol WHERE KOL_C = 1");
    EXPECT_EQ(run.out, "X,Y\n0,0\n");
    // A lone empty cell is a quoted empty text, not an empty line that CSV
    // readers skip.
    run = Sql("SELECT MAX(DELKA) FROM jizdy");
    EXPECT_EQ(run.out, "MAX_DELKA\n\"\"\n");
    run = Sql("SELECT MAX(DELKA), COUNT(*) FROM jizdy");
    EXPECT_EQ(run.out, "MAX_DELKA,COUNT\n,0\n");
}

}  // namespace
}  // namespace kolvio
