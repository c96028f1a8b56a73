#include "shell/WinePrefixSettings.h"

#include <stdlib.h>

#include <gtest/gtest.h>

#include "CaseFile.h"
#include "ScopedEnvironment.h"
#include "TemporaryWinePrefix.h"
#include "TestFiles.h"
#include "shell/PathDiscovery.h"

namespace corvale {
namespace {

constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DX Atlas_is1";

TEST(WinePrefixSettingsTest, ChoosesTheOptionThenWineprefixThenTheHomeWine) {
    const ScopedEnvironment home("HOME", "/home/op");
    {
        const ScopedEnvironment prefix("WINEPREFIX", "/data/wine32");
        EXPECT_EQ(WinePrefixSettings::FindPrefix("/opt/prefix"), "/opt/prefix");
        EXPECT_EQ(WinePrefixSettings::FindPrefix(std::nullopt), "/data/wine32");
    }
    {
        const ScopedEnvironment prefix("WINEPREFIX", "");
        EXPECT_EQ(WinePrefixSettings::FindPrefix(std::nullopt), "/home/op/.wine");
    }
    {
        const ScopedEnvironment prefix("WINEPREFIX", nullptr);
        EXPECT_EQ(WinePrefixSettings::FindPrefix(std::nullopt), "/home/op/.wine");
    }
}

TEST(WinePrefixSettingsTest, ReportsTheWindowsDirectoryOnlyWhenThePrefixHasOne) {
    const TemporaryWinePrefix prefix;
    const WinePrefixSettings settings(prefix.Path());
    EXPECT_EQ(settings.GetWindowsDirectory(), std::nullopt);
    // Without one there is no Wine prefix to read, and the messages say where Corvale looked.
    EXPECT_EQ(settings.MissingSettingsPlace(), prefix.Path().string());
    prefix.AddWindowsDirectory();
    EXPECT_EQ(settings.GetWindowsDirectory(), "C:\\windows");
    EXPECT_EQ(settings.MissingSettingsPlace(), std::nullopt);
}

TEST(WinePrefixSettingsTest, ReadsTheIniFileThatAWindowsPathNames) {
    const TemporaryWinePrefix prefix;
    prefix.AddWindowsDirectory();
    prefix.WriteFile("drive_c/windows/DXB2007.INI",
                     "\xEF\xBB\xBF[DIR]\r\nDATAPATH = \"C:\\DXBase\\My Log.mdb\"\r\n");
    prefix.WriteFile("drive_c/windows/Ansi.ini", "[Dir]\nDATAPATH=C:\\J\xFCrgen\\log.mdb\n");
    const WinePrefixSettings settings(prefix.Path());
    EXPECT_EQ(settings.GetPrivateProfileString("Dir", "DATAPATH", "", "C:\\Windows\\Dxb2007.ini"),
              "C:\\DXBase\\My Log.mdb");
    EXPECT_EQ(settings.GetPrivateProfileString("Dir", "DATAPATH", "", "C:\\windows\\Ansi.ini"),
              "C:\\J\u00FCrgen\\log.mdb");
    EXPECT_EQ(
        settings.GetPrivateProfileString("Dir", "PGMPATH", "none", "C:\\windows\\Dxb2007.ini"),
        "none");
    EXPECT_EQ(settings.GetPrivateProfileString("Dir", "DATAPATH", "none", "C:\\windows\\Other.ini"),
              "none");
}

// The registry files of prefixes that Wine 8 made under a Russian and a Japanese locale (the
// file's head, the code page key and, in the Russian one, DX Atlas's entry as `wine reg add`
// wrote it).
std::string TestFile(const std::string& name) {
    return test::ReadFile(std::filesystem::path(CORVALE_SOURCE_DIR) / "tests/shell" / name);
}

// A prefix whose system.reg is what a case of cases/wine-registry.tsv says.
void WriteSystemReg(const TemporaryWinePrefix& prefix, const std::string& text) {
    if (text != "(none)")
        prefix.WriteFile("system.reg", text.starts_with('@')
                                           ? TestFile(text.substr(1))
                                           : "WINE REGISTRY Version 2\n\n" + text);
}

// A 32-bit program on a 64-bit prefix looks in Wow6432Node first, then where the key is named.
TEST(WinePrefixSettingsTest, ReadsTheRegistryAsA32BitProgramSeesIt) {
    for (const test::Case& c : test::ReadCases("shell/cases/wine-registry.tsv", "location")) {
        const TemporaryWinePrefix prefix;
        WriteSystemReg(prefix, c[0]);
        EXPECT_EQ(WinePrefixSettings(prefix.Path())
                      .GetMachineRegistryString(kUninstallKey, "InstallLocation"),
                  c[1] == "(no key)" ? std::nullopt : std::optional(c[1]))
            << c.name;
    }
    for (const test::Case& c : test::ReadCases("shell/cases/wine-registry.tsv", "codepage")) {
        const TemporaryWinePrefix prefix;
        WriteSystemReg(prefix, c[0]);
        EXPECT_EQ(WinePrefixSettings(prefix.Path()).AnsiCodePage(), std::stoul(c[1])) << c.name;
    }
}

// A Russian DXBase in a Russian Wine prefix: the log in a folder with a Cyrillic name, written
// to Dxb2007.ini in code page 1251, and DX Atlas in a folder with an umlaut, typed in capitals.
TEST(WinePrefixSettingsTest, FindsTheLogThatARussianDxBaseNames) {
    const TemporaryWinePrefix prefix;
    prefix.AddWindowsDirectory();
    prefix.WriteFile("system.reg", TestFile("wine8/system-ru.reg"));
    prefix.WriteFile("drive_c/windows/Dxb2007.ini",
                     "[Dir]\r\nDATAPATH=C:\\DXBase\\\xC6\xF3\xF0\xED\xE0\xEB\\log.mdb\r\n"
                     "PgmPath=C:\\DXBase\\\r\n");
    prefix.WriteFile("drive_c/DXBase/\u0416\u0443\u0440\u043D\u0430\u043B/log.mdb", "");
    prefix.WriteFile(
        "drive_c/Program Files/DX Atl\u00E4b \u0416\u0443\u0440\u043D\u0430\u043B/Pins/x", "");

    const WinePrefixSettings settings(prefix.Path());
    const DiscoveredPaths paths = DiscoverPaths(settings);
    EXPECT_EQ(paths.sourceMdb, "C:\\DXBase\\\u0416\u0443\u0440\u043D\u0430\u043B\\log.mdb");
    EXPECT_EQ(settings.PathToOpen(paths.sourceMdb),
              prefix.Path() / "dosdevices/c:/DXBase/\u0416\u0443\u0440\u043D\u0430\u043B/log.mdb");
    EXPECT_EQ(settings.PathToOpen(
                  "C:\\PROGRAM FILES\\DX ATL\u00C4B \u0436\u0443\u0440\u043D\u0430\u043B\\PINS"),
              prefix.Path() /
                  "dosdevices/c:/Program Files/DX Atl\u00E4b "
                  "\u0416\u0443\u0440\u043D\u0430\u043B/Pins");
    EXPECT_EQ(paths.refdataMdb, "C:\\DXBase\\\\Refdata.mdb");
    EXPECT_TRUE(paths.dxAtlasKeyFound);
    EXPECT_EQ(paths.lstDir,
              "C:\\Program Files\\DX Atl\u00E4b \u0416\u0443\u0440\u043D\u0430\u043B\\Pins\\");
}

}  // namespace
}  // namespace corvale
