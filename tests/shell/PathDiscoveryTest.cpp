#include "shell/PathDiscovery.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "CaseFile.h"
#include "TestFiles.h"

namespace corvale {
namespace {

// Answers from fixed values and notes which INI file was asked for.
class FixedSettings : public WindowsSettings {
  public:
    std::optional<std::string> windowsDirectory = "C:\\WINDOWS";
    std::map<std::string, std::string> iniValues;  // key -> value, section "Dir"
    std::optional<std::string> installLocation;    // std::nullopt: the key is missing
    mutable std::string askedIniPath;

    std::optional<std::string> GetWindowsDirectory() const override { return windowsDirectory; }

    std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue,
                                        const std::string& iniPath) const override {
        askedIniPath = iniPath;
        const auto found = iniValues.find(key);
        return section == "Dir" && found != iniValues.end() ? found->second : defaultValue;
    }

    std::optional<std::string> GetMachineRegistryString(const std::string& subKey,
                                                        const std::string& value) const override {
        if (subKey != "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DX Atlas_is1" ||
            value != "InstallLocation") {
            return std::nullopt;
        }
        return installLocation;
    }

    std::filesystem::path PathToOpen(const std::string& windowsPath) const override {
        return windowsPath;
    }

    bool registryMayBeUnwritten = false;
    bool RegistryMayBeUnwritten() const override { return registryMayBeUnwritten; }
};

// Dxb2007.ini is read in the Windows directory; Refdata.mdb is PGMPATH and one backslash.
TEST(PathDiscoveryTest, ReadsDxBaseIniAndPutsOneBackslashBeforeRefdata) {
    const auto value = [](const std::string& field) {
        return field == "(missing)" ? std::nullopt : std::optional(field);
    };
    for (const test::Case& c : test::ReadCases("shell/cases/dxbase-ini.tsv")) {
        SCOPED_TRACE(c.name);
        FixedSettings settings;
        settings.windowsDirectory = value(c[0]);
        settings.iniValues["DATAPATH"] = "D:\\Logs\\my log.mdb";
        if (value(c[1]))
            settings.iniValues["PGMPATH"] = c[1];
        EXPECT_EQ(ReadSourcePath(settings), "D:\\Logs\\my log.mdb");
        EXPECT_EQ(ReadRefdataPath(settings), c[2]);
        EXPECT_EQ(settings.askedIniPath, c[3]);
    }
}

// DX Atlas's folders are its InstallLocation (cut at 254 characters) and the names after it,
// plainly joined. The message names the reason only when the paths lead nowhere: a missing
// entry (with the hint about Wine's unwritten registry while Wine runs), an entry without a
// location, or a cut location whose cut folder is missing.
TEST(PathDiscoveryTest, ComposesTheDxAtlasPathsAndSaysWhyTheyLeadNowhere) {
    const test::TempFolder tmp;
    // A folder whose path is exactly 254 characters long, and one location that is longer.
    const std::string folder254 =
        tmp.Path().string() + "/" + std::string(253 - tmp.Path().string().size(), 'a');
    std::filesystem::create_directories(folder254);
    const std::string x254(254, 'x');
    struct Case {
        const char* what;
        std::optional<std::string> installLocation;
        bool wineRuns;
        std::string folder;
        std::vector<std::string> saying;  // empty: no problem
    };
    const Case cases[] = {
        {"with a backslash", "C:\\DX Atlas\\", false, "C:\\DX Atlas\\", {}},
        {"without one, not there", "C:\\Nowhere", true, "C:\\Nowhere", {}},
        {"entry without location", "", false, "", {"no InstallLocation"}},
        {"entry missing", std::nullopt, false, "", {"has no entry", "DX Atlas_is1"}},
        {"entry missing while Wine runs",
         std::nullopt,
         true,
         "",
         {"has no entry", "wineserver -w"}},
        {"cut location that does not exist",
         std::string(300, 'x'),
         false,
         x254,
         {"300 characters long", "first 254", x254 + "\", which"}},
        {"254 characters, not cut", x254, false, x254, {}},
        {"cut location that exists", folder254 + "/DX Atlas/", false, folder254, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FixedSettings settings;
        settings.installLocation = c.installLocation;
        settings.registryMayBeUnwritten = c.wineRuns;
        DiscoveredPaths paths;
        ReadDxAtlasPaths(settings, paths);
        EXPECT_EQ(paths.dxAtlasKeyFound, c.installLocation.has_value());
        EXPECT_EQ(paths.dxAtlasDir, c.folder);
        EXPECT_EQ(paths.lstDir, c.folder + "Pins\\");
        EXPECT_EQ(paths.ffmaWkdPath, c.folder + "Squares\\FFMAsquares.wkd");
        EXPECT_EQ(paths.ffmaCfmPath, c.folder + "Squares\\FFMAsquares.cfm");
        EXPECT_EQ(paths.vuccWkdPath, c.folder + "Squares\\VUCCsquares.wkd");
        EXPECT_EQ(paths.vuccCfmPath, c.folder + "Squares\\VUCCsquares.cfm");
        const std::string problem = DxAtlasPathsProblem(settings, paths);
        EXPECT_EQ(problem.empty(), c.saying.empty()) << problem;
        for (const std::string& words : c.saying)
            EXPECT_NE(problem.find(words), std::string::npos) << problem;
        if (!c.wineRuns) {
            EXPECT_EQ(problem.find("wineserver"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace corvale
