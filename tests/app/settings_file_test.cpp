#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "data/codepage.h"
#include "scratch_dir.h"

namespace kolvio {
namespace {

using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;

TEST(SettingsFile, MissingFileGivesDefaultsAndOnlyAWriteCreatesIt) {
    ScratchDir dir;
    SettingsFile ini(dir.file("kolvio.ini"));
    EXPECT_EQ(ini.readInteger("Okno", "State", 7), 7);
    EXPECT_TRUE(ini.readBool("Setup", "zamenteckacarka", true));
    EXPECT_EQ(ini.readString("Predchozi", "1", "x"), "x");
    EXPECT_TRUE(ini.deleteKey("Predchozi", "1").ok());
    EXPECT_FALSE(std::filesystem::exists(ini.path()));

    ASSERT_TRUE(ini.writeInteger("Okno", "Left", -3).ok());
    EXPECT_EQ(ReadBytes(ini.path()), "[Okno]\nLeft=-3\n");
    EXPECT_EQ(ini.readInteger("okno", "LEFT", 0), -3);
}

TEST(SettingsFile, DamagedNumbersGiveTheDefault) {
    ScratchDir dir;
    WriteBytes(dir.file("kolvio.ini"),
               "[N]\na=12abc\nb= +8 \nc=99999999999\nd=\ne=yes\nf=2\ng=0\n");
    SettingsFile ini(dir.file("kolvio.ini"));
    EXPECT_EQ(ini.readInteger("N", "a", 5), 5);
    EXPECT_EQ(ini.readInteger("N", "b", 5), 8);
    EXPECT_EQ(ini.readInteger("N", "c", 5), 5);
    EXPECT_EQ(ini.readInteger("N", "d", 5), 5);
    EXPECT_TRUE(ini.readBool("N", "e", true));
    EXPECT_FALSE(ini.readBool("N", "e", false));
    EXPECT_TRUE(ini.readBool("N", "f", false));
    EXPECT_FALSE(ini.readBool("N", "g", true));
}

TEST(SettingsFile, WriteKeepsOtherSectionsCommentsAndLineEnds) {
    ScratchDir dir;
    const std::string before = ";c\r\n[Okno]\r\nState=1\r\n\r\n[Zobr_Vysledek_1]\r\nDELKA=64\r\n";
    WriteBytes(dir.file("kolvio.ini"), before);
    SettingsFile ini(dir.file("kolvio.ini"));
    ASSERT_TRUE(ini.writeBool("Okno", "State", false).ok());
    std::string after = before;
    after.replace(after.find("State=1"), 7, "State=0");
    EXPECT_EQ(ReadBytes(ini.path()), after);
    EXPECT_FALSE(std::filesystem::exists(ini.path() + ".kolvio-new"));
}

TEST(SettingsFile, Windows1250FileIsReadAndRewrittenAsUtf8) {
    ScratchDir dir;
    // "C:\Jízdy\Říjen" in Windows-1250.
    WriteBytes(dir.file("kolvio.ini"), "[Predchozi]\r\n1=C:\\J\xEDzdy\\\xD8\xEDjen\r\n");
    SettingsFile ini(dir.file("kolvio.ini"));
    EXPECT_EQ(ini.readString("Predchozi", "1", ""), "C:\\Jízdy\\Říjen");
    ASSERT_TRUE(ini.writeString("Predchozi", "2", "Žďár").ok());
    EXPECT_EQ(ReadBytes(ini.path()), "[Predchozi]\r\n1=C:\\Jízdy\\Říjen\r\n2=Žďár\r\n");
}

TEST(SettingsFile, ByteOrderMarkIsSkippedAndKept) {
    ScratchDir dir;
    WriteBytes(dir.file("kolvio.ini"), "\xEF\xBB\xBF[A]\nx=á\n");
    SettingsFile ini(dir.file("kolvio.ini"));
    EXPECT_EQ(ini.readString("A", "x", ""), "á");
    ASSERT_TRUE(ini.writeString("A", "x", "b").ok());
    EXPECT_EQ(ReadBytes(ini.path()), "\xEF\xBB\xBF[A]\nx=b\n");
}

TEST(SettingsFile, ReadsSeeChangesMadeByAnotherWriter) {
    ScratchDir dir;
    SettingsFile ini(dir.file("kolvio.ini"));
    SettingsFile other(dir.file("kolvio.ini"));
    ASSERT_TRUE(ini.writeInteger("A", "x", 1).ok());
    ASSERT_TRUE(other.writeInteger("A", "x", 2).ok());
    EXPECT_EQ(ini.readInteger("A", "x", 0), 2);
}

TEST(SettingsFile, UnreadableFileIsNeverReplaced) {
    ScratchDir dir;
    // A directory where the file should be cannot be read as settings.
    std::filesystem::create_directory(dir.file("kolvio.ini"));
    SettingsFile ini(dir.file("kolvio.ini"));
    EXPECT_EQ(ini.readInteger("A", "x", 4), 4);
    EXPECT_TRUE(ini.writeInteger("A", "x", 1).failed());
    EXPECT_TRUE(std::filesystem::is_directory(ini.path()));
}

TEST(SettingsFile, RefusedValueLeavesTheFileAsItWas) {
    ScratchDir dir;
    WriteBytes(dir.file("kolvio.ini"), "[A]\nx=1\n");
    SettingsFile ini(dir.file("kolvio.ini"));
    EXPECT_TRUE(ini.writeString("A", "x", "two\nlines").failed());
    EXPECT_EQ(ReadBytes(ini.path()), "[A]\nx=1\n");
}

// A file holding one byte that is not UTF-8 is read as Windows-1250, so
// storing such bytes would garble the letters of every other setting.
TEST(SettingsFile, TextThatIsNotUtf8IsRefusedAndTheOtherSettingsKeepTheirLetters) {
    ScratchDir dir;
    const std::string before = "[Predchozi]\n1=/home/jezdec/Žďár\n";
    WriteBytes(dir.file("kolvio.ini"), before);
    SettingsFile ini(dir.file("kolvio.ini"));
    EXPECT_TRUE(ini.writeString("Predchozi", "2", "/home/jezd\xA2\x9C").failed());
    EXPECT_TRUE(ini.writeString("P\xF8" "edchoz\xED", "2", "x").failed());
    EXPECT_TRUE(ini.writeString("Predchozi", "\xE8", "x").failed());
    EXPECT_EQ(ReadBytes(ini.path()), before);
    EXPECT_EQ(ini.readString("Predchozi", "1", ""), "/home/jezdec/Žďár");
}

}  // namespace
}  // namespace kolvio
