#include "shell/WinePathMapping.h"

#include <gtest/gtest.h>

#include "CaseFile.h"
#include "TemporaryWinePrefix.h"

namespace corvale {
namespace {

class WinePathMappingTest : public ::testing::Test {
  protected:
    WinePathMappingTest() {
        prefix_.WriteFile("drive_c/Program Files/DX Atlas/Pins/WASpins.lst", "");
        prefix_.WriteFile("drive_c/DXBase/Refdata.mdb", "");
        prefix_.WriteFile("drive_c/Program Files/DX Atl\u00E4b/Pins/WASpins.lst", "");
        prefix_.WriteFile("drive_c/DXBase/\u0416\u0443\u0440\u043D\u0430\u043B/log.mdb", "");
    }

    std::filesystem::path OnDrive(std::string_view letter, std::string_view rest) const {
        return prefix_.Path() / "dosdevices" / (std::string(letter) + ":") / rest;
    }

    TemporaryWinePrefix prefix_;
};

// Existing names match regardless of case; names that do not exist yet stay as written.
TEST_F(WinePathMappingTest, MapsADriveLetterPathThroughTheDriveLink) {
    for (const test::Case& c : test::ReadCases("shell/cases/wine-paths.tsv", "mapped"))
        EXPECT_EQ(MapWindowsPath(prefix_.Path(), c.name), prefix_.Path() / "dosdevices" / c[0])
            << c.name;
}

TEST_F(WinePathMappingTest, PrefersTheExactNameThenTheFirstThatDiffersInCase) {
    prefix_.WriteFile("drive_c/Logs/log.mdb", "");
    prefix_.WriteFile("drive_c/LOGS/log.mdb", "");
    prefix_.WriteFile("drive_c/logs/log.mdb", "");
    EXPECT_EQ(MapWindowsPath(prefix_.Path(), "C:\\logs\\log.mdb"), OnDrive("c", "logs/log.mdb"));
    EXPECT_EQ(MapWindowsPath(prefix_.Path(), "C:\\LOGS\\log.mdb"), OnDrive("c", "LOGS/log.mdb"));
    EXPECT_EQ(MapWindowsPath(prefix_.Path(), "C:\\Logs\\log.mdb"), OnDrive("c", "Logs/log.mdb"));
    EXPECT_EQ(MapWindowsPath(prefix_.Path(), "C:\\lOgS\\log.mdb"), OnDrive("c", "LOGS/log.mdb"));
}

TEST(WinePathMappingRelativeTest, TakesAPathWithoutDriveLetterAsItStands) {
    const std::filesystem::path prefix = "/nonexistent-prefix";
    EXPECT_EQ(MapWindowsPath(prefix, "Pins\\WASpins.lst"), "Pins/WASpins.lst");
    EXPECT_EQ(MapWindowsPath(prefix, "Squares\\FFMAsquares.wkd"), "Squares/FFMAsquares.wkd");
    EXPECT_EQ(MapWindowsPath(prefix, "\\Dxb2007.ini"), "/Dxb2007.ini");
    EXPECT_EQ(MapWindowsPath(prefix, "log.mdb"), "log.mdb");
    EXPECT_EQ(MapWindowsPath(prefix, ""), "");
    EXPECT_EQ(MapWindowsPath(prefix, "1:\\x"), "1:/x");
}

}  // namespace
}  // namespace corvale
