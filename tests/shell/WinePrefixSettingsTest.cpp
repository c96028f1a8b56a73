#include "shell/WinePrefixSettings.h"

#include <stdlib.h>

#include <gtest/gtest.h>

#include "ScopedEnvironment.h"
#include "TemporaryWinePrefix.h"
#include "TestFiles.h"
#include "shell/PathDiscovery.h"

namespace corvale {
namespace {

constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DX Atlas_is1";

std::string KeyLine(std::string_view keyPath) {
    std::string line = "[";
    for (char c : keyPath) {
        if (c == '\\')
            line += '\\';
        line += c;
    }
    return line + "] 1700000000\n";
}

std::string InstallLocationLine(std::string_view escapedValue) {
    return "\"InstallLocation\"=\"" + std::string(escapedValue) + "\"\n";
}

const std::string kWow64Key =
    "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DX Atlas_is1";

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

TEST(WinePrefixSettingsTest, LooksInWow6432NodeFirstThenWhereTheKeyIsNamed) {
    struct Case {
        const char* what;
        std::optional<std::string> systemReg;  // std::nullopt: no registry file
        std::optional<std::string> expected;
    };
    const std::string plain = KeyLine(kUninstallKey) + InstallLocationLine("C:\\\\DX Atlas\\\\");
    const std::string wow64 =
        KeyLine(kWow64Key) + InstallLocationLine("C:\\\\Program Files (x86)\\\\DX Atlas\\\\");
    const Case cases[] = {
        {"32-bit prefix", plain, "C:\\DX Atlas\\"},
        {"64-bit prefix", wow64, "C:\\Program Files (x86)\\DX Atlas\\"},
        {"both: the 32-bit view wins", plain + wow64, "C:\\Program Files (x86)\\DX Atlas\\"},
        {"key in the 32-bit view without the value", plain + KeyLine(kWow64Key), ""},
        {"key in neither view", KeyLine("Software\\Other"), std::nullopt},
        {"no registry file", std::nullopt, std::nullopt},
        {"lower-case node name",
         "[software\\\\wow6432node\\\\microsoft\\\\windows\\\\currentversion"
         "\\\\uninstall\\\\dx atlas_is1] 1\n" +
             InstallLocationLine("D:\\\\Atlas\\\\"),
         "D:\\Atlas\\"},
    };
    for (const auto& c : cases) {
        const TemporaryWinePrefix prefix;
        if (c.systemReg)
            prefix.WriteFile("system.reg", "WINE REGISTRY Version 2\n\n" + *c.systemReg);
        const WinePrefixSettings settings(prefix.Path());
        EXPECT_EQ(settings.GetMachineRegistryString(kUninstallKey, "InstallLocation"), c.expected)
            << c.what;
    }
}

// The registry files of prefixes that Wine 8 made under a Russian and a Japanese locale (the
// file's head, the code page key and, in the Russian one, DX Atlas's entry as `wine reg add`
// wrote it).
std::string Wine8Registry(const char* locale) {
    return test::ReadFile(std::filesystem::path(CORVALE_SOURCE_DIR) / "tests/shell/wine8" /
                          (std::string("system-") + locale + ".reg"));
}

TEST(WinePrefixSettingsTest, TakesTheAnsiCodePageFromTheRegistry) {
    const std::string codePageKey = KeyLine("System\\CurrentControlSet\\Control\\Nls\\CodePage");
    struct Case {
        const char* what;
        std::optional<std::string> systemReg;  // std::nullopt: no registry file
        unsigned codePage;
    };
    const Case cases[] = {
        {"Wine 8 under a Russian locale", Wine8Registry("ru"), 1251},
        {"Wine 8 under a Japanese locale", Wine8Registry("ja"), 932},
        {"key under ControlSet001, where CurrentControlSet links to",
         KeyLine("System\\ControlSet001\\Control\\Nls\\CodePage") + "\"ACP\"=\"1250\"\n", 1250},
        {"no registry file", std::nullopt, 1252},
        {"no code page key", KeyLine("Software\\Other") + "\"ACP\"=\"1251\"\n", 1252},
        {"key without ACP", codePageKey + "\"OEMCP\"=\"866\"\n", 1252},
        {"ACP empty", codePageKey + "\"ACP\"=\"\"\n", 1252},
        {"ACP not a number", codePageKey + "\"ACP\"=\"cp1251\"\n", 1252},
        {"ACP zero", codePageKey + "\"ACP\"=\"0\"\n", 1252},
    };
    for (const auto& c : cases) {
        const TemporaryWinePrefix prefix;
        if (c.systemReg)
            prefix.WriteFile("system.reg", "WINE REGISTRY Version 2\n\n" + *c.systemReg);
        EXPECT_EQ(WinePrefixSettings(prefix.Path()).AnsiCodePage(), c.codePage) << c.what;
    }
}

// A Russian DXBase in a Russian Wine prefix: the log in a folder with a Cyrillic name, written
// to Dxb2007.ini in code page 1251, and DX Atlas in a folder with an umlaut, typed in capitals.
TEST(WinePrefixSettingsTest, FindsTheLogThatARussianDxBaseNames) {
    const TemporaryWinePrefix prefix;
    prefix.AddWindowsDirectory();
    prefix.WriteFile("system.reg", Wine8Registry("ru"));
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
