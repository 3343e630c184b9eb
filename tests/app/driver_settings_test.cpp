#include "app/driver_settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "scratch_dir.h"

namespace kolvio {
namespace {

class DriverSettingsTest : public ::testing::Test {
protected:
    testing::ScratchDir dir_;
    SettingsFile ini_{dir_.file("kolvio.ini")};
    DriverSettings engine_{"DBWINUS0", "4"};
};

TEST_F(DriverSettingsTest, SecondApplyDoesNotOverwriteTheRecordedSettings) {
    ASSERT_TRUE(ApplyDriverSettings(ini_, engine_).ok());
    EXPECT_EQ(engine_.languageDriver, "DB852CZ0");
    EXPECT_EQ(engine_.level, "5");
    EXPECT_EQ(ini_.readString("DBF", "DBFDriver", ""), "DBWINUS0");
    EXPECT_EQ(ini_.readString("DBF", "DBFLevel", ""), "4");
    EXPECT_FALSE(ini_.readBool("DBF", "vraceno", true));

    // Every dataset open applies again; the settings found first stay recorded.
    ASSERT_TRUE(ApplyDriverSettings(ini_, engine_).ok());
    EXPECT_EQ(ini_.readString("DBF", "DBFDriver", ""), "DBWINUS0");
}

TEST_F(DriverSettingsTest, RestorePutsBackTheRecordedSettingsOnce) {
    ASSERT_TRUE(ApplyDriverSettings(ini_, engine_).ok());
    ASSERT_TRUE(RestoreDriverSettings(ini_, engine_).ok());
    EXPECT_EQ(engine_.languageDriver, "DBWINUS0");
    EXPECT_EQ(engine_.level, "4");
    EXPECT_TRUE(ini_.readBool("DBF", "vraceno", false));

    engine_ = {"OTHER", "7"};
    ASSERT_TRUE(RestoreDriverSettings(ini_, engine_).ok());  // already returned: no-op
    EXPECT_EQ(engine_.languageDriver, "OTHER");
}

TEST_F(DriverSettingsTest, RestoreWithoutAnApplyTouchesNothing) {
    ASSERT_TRUE(RestoreDriverSettings(ini_, engine_).ok());
    EXPECT_EQ(engine_.languageDriver, "DBWINUS0");
    EXPECT_FALSE(std::filesystem::exists(ini_.path()));
    EXPECT_FALSE(RestoreDriverSettingsAtShutdown(ini_));
}

TEST_F(DriverSettingsTest, RestoreWithMissingKeysUsesTheRequiredSettings) {
    testing::WriteBytes(ini_.path(), "[DBF]\nvraceno=0\nvracet=1\n");
    ASSERT_TRUE(RestoreDriverSettings(ini_, engine_).ok());
    EXPECT_EQ(engine_.languageDriver, "DB852CZ0");
    EXPECT_EQ(engine_.level, "5");
    EXPECT_TRUE(RestoreDriverSettingsAtShutdown(ini_));
}

}  // namespace
}  // namespace kolvio
