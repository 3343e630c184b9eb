#include "app/shorten_path.h"

#include <gtest/gtest.h>

namespace kolvio {
namespace {

TEST(ShortenPath, WindowsPathKeepsDriveAndTrailingFolders) {
    EXPECT_EQ(ShortenPath("C:\\Data files\\Training\\Diary\\Rides\\DATA", 30),
              "C:\\..\\Diary\\Rides\\DATA");
    EXPECT_EQ(ShortenPath("C:", 30), "C:\\");
}

TEST(ShortenPath, LinuxPathKeepsRootAndStaysBelowMax) {
    const std::string shortened = ShortenPath("/home/rider/Training/Diary/Rides/DATA", 30);
    EXPECT_EQ(shortened, "/../Training/Diary/Rides/DATA");
    EXPECT_LT(shortened.size(), 30u);
    EXPECT_EQ(ShortenPath("/a", 30), "/a");
}

TEST(ShortenPath, TwentyNineCharactersStayThirtyAreShortened) {
    EXPECT_EQ(ShortenPath("C:\\Training\\Diary\\Rides\\DATA1", 30),
              "C:\\Training\\Diary\\Rides\\DATA1");  // 29
    EXPECT_EQ(ShortenPath("C:\\Training\\Diary\\Rides\\DATA12", 30),
              "C:\\..\\Diary\\Rides\\DATA12");  // 30
    EXPECT_EQ(ShortenPath("/home/rider/kolo/2024/jaro/DA", 30), "/home/rider/kolo/2024/jaro/DA");
    EXPECT_EQ(ShortenPath("/home/rider/kolo/2024/jaro/DAT", 30), "/../rider/kolo/2024/jaro/DAT");
}

TEST(ShortenPath, CzechLettersCountAsOneCharacterEach) {
    // 28 characters (38 bytes); with "ě" 29.
    const std::string path = "/home/řídič/Jízdy/Říjen/Žďár";
    EXPECT_EQ(ShortenPath(path + "ě", 30), path + "ě");
    EXPECT_EQ(ShortenPath(path + "ěš", 30), "/../řídič/Jízdy/Říjen/Žďárěš");
}

TEST(ShortenPath, OverlongLastFolderKeepsItsTail) {
    const std::string name = "abcdefghijklmnopqrstuvwxyz0123456789";
    EXPECT_EQ(ShortenPath("C:\\x\\" + name, 30), "C:\\.." + name.substr(name.size() - 26));
    EXPECT_EQ(ShortenPath(name, 0), "..");  // a tiny max ends, too
}

}  // namespace
}  // namespace kolvio
