#include "shell/WinePrefixSettings.h"

#include <stdlib.h>

#include <gtest/gtest.h>

#include "ScopedEnvironment.h"
#include "TemporaryWinePrefix.h"

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

}  // namespace
}  // namespace corvale
