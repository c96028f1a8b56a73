#include "shell/WinePathMapping.h"

#include <gtest/gtest.h>

#include "TemporaryWinePrefix.h"

namespace corvale {
namespace {

class WinePathMappingTest : public ::testing::Test {
  protected:
    WinePathMappingTest() {
        prefix_.WriteFile("drive_c/Program Files/DX Atlas/Pins/WASpins.lst", "");
        prefix_.WriteFile("drive_c/DXBase/Refdata.mdb", "");
    }

    std::filesystem::path OnDrive(std::string_view letter, std::string_view rest) const {
        return prefix_.Path() / "dosdevices" / (std::string(letter) + ":") / rest;
    }

    TemporaryWinePrefix prefix_;
};

TEST_F(WinePathMappingTest, MapsADriveLetterPathMatchingNamesRegardlessOfCase) {
    struct Case {
        std::string_view windowsPath;
        std::string_view onDriveC;
    };
    const Case cases[] = {
        {"C:\\Program Files\\DX Atlas\\Pins\\WASpins.lst",
         "Program Files/DX Atlas/Pins/WASpins.lst"},
        {"c:\\PROGRAM FILES\\dx atlas\\pins\\waspins.LST",
         "Program Files/DX Atlas/Pins/WASpins.lst"},
        {"C:\\Program Files\\DX Atlas\\", "Program Files/DX Atlas"},
        {"C:\\dxbase\\\\Refdata.mdb", "DXBase/Refdata.mdb"},
        {"C:/DXBase/REFDATA.mdb", "DXBase/Refdata.mdb"},
        {"C:\\DXBase\\.\\Sub\\..\\Refdata.mdb", "DXBase/Refdata.mdb"},
        {"C:\\..\\..\\DXBase\\Refdata.mdb", "DXBase/Refdata.mdb"},
        {"C:DXBase\\Refdata.mdb", "DXBase/Refdata.mdb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MapWindowsPath(prefix_.Path(), c.windowsPath), OnDrive("c", c.onDriveC))
            << c.windowsPath;
}

TEST_F(WinePathMappingTest, KeepsNamesThatDoNotExistYetAsWritten) {
    struct Case {
        std::string_view windowsPath;
        std::string_view onDriveC;
    };
    const Case cases[] = {
        {"C:\\program files\\dx atlas\\Pins\\New File.LST",
         "Program Files/DX Atlas/Pins/New File.LST"},
        {"C:\\Program Files\\DX ATLAS\\Squares\\FFMAsquares.wkd",
         "Program Files/DX Atlas/Squares/FFMAsquares.wkd"},
        {"C:\\Missing\\DXBase\\Refdata.mdb", "Missing/DXBase/Refdata.mdb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MapWindowsPath(prefix_.Path(), c.windowsPath), OnDrive("c", c.onDriveC))
            << c.windowsPath;
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

TEST_F(WinePathMappingTest, UsesTheDriveLinkOfTheLetter) {
    EXPECT_EQ(MapWindowsPath(prefix_.Path(), "D:\\Data\\log.mdb"), OnDrive("d", "Data/log.mdb"));
    EXPECT_EQ(MapWindowsPath(prefix_.Path(), "z:\\home\\x"), OnDrive("z", "home/x"));
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
