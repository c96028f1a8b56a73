#include "shell/PathDiscovery.h"

#include <filesystem>
#include <system_error>

#include "shell/AnsiText.h"

namespace corvale {

namespace {

constexpr std::string_view kDxAtlasUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DX Atlas_is1";
// The install location is read into a buffer of 255 bytes: 254 characters and the zero.
constexpr std::size_t kInstallLocationCharacters = 254;

// Dxb2007.ini lies in the Windows directory; without one the name is taken from the root.
std::string DxBaseIniPath(const WindowsSettings& settings) {
    return settings.GetWindowsDirectory().value_or("") + "\\Dxb2007.ini";
}

}  // namespace

std::string ReadSourcePath(const WindowsSettings& settings) {
    return settings.GetPrivateProfileString("Dir", "DATAPATH", "", DxBaseIniPath(settings));
}

std::string ReadRefdataPath(const WindowsSettings& settings) {
    return settings.GetPrivateProfileString("Dir", "PGMPATH", "", DxBaseIniPath(settings)) +
           "\\Refdata.mdb";
}

void ReadDxAtlasPaths(const WindowsSettings& settings, DiscoveredPaths& paths) {
    const auto location =
        settings.GetMachineRegistryString(std::string(kDxAtlasUninstallKey), "InstallLocation");
    paths.dxAtlasKeyFound = location.has_value();
    paths.dxAtlasDir = TruncateUtf8(location.value_or(""), kInstallLocationCharacters);
    paths.dxAtlasLocationCharacters = CountUtf8Characters(location.value_or(""));
    const std::string& folder = paths.dxAtlasDir;
    paths.lstDir = folder + "Pins\\";
    paths.ffmaWkdPath = folder + "Squares\\FFMAsquares.wkd";
    paths.ffmaCfmPath = folder + "Squares\\FFMAsquares.cfm";
    paths.vuccWkdPath = folder + "Squares\\VUCCsquares.wkd";
    paths.vuccCfmPath = folder + "Squares\\VUCCsquares.cfm";
}

std::string DxAtlasPathsProblem(const WindowsSettings& settings, const DiscoveredPaths& paths) {
    if (!paths.dxAtlasKeyFound) {
        std::string problem =
            "DX Atlas's installation folder was not found: the registry has no entry "
            "\"HKEY_LOCAL_MACHINE\\" +
            std::string(kDxAtlasUninstallKey) + "\".";
        if (settings.RegistryMayBeUnwritten()) {
            problem +=
                " Wine is running in this prefix and may not have written its registry to "
                "system.reg yet: wait until it has (wineserver -w), then start again.";
        }
        return problem;
    }
    if (paths.dxAtlasDir.empty())
        return "DX Atlas's uninstall entry has no InstallLocation.";
    std::error_code error;
    if (paths.dxAtlasLocationCharacters > kInstallLocationCharacters &&
        !std::filesystem::is_directory(settings.PathToOpen(paths.dxAtlasDir), error)) {
        return "DX Atlas's installation folder in the registry is " +
               std::to_string(paths.dxAtlasLocationCharacters) +
               " characters long; only its first " + std::to_string(kInstallLocationCharacters) +
               " are read, and cut there it names \"" + paths.dxAtlasDir +
               "\", which does not exist.";
    }
    return "";
}

DiscoveredPaths DiscoverPaths(const WindowsSettings& settings) {
    DiscoveredPaths paths;
    paths.sourceMdb = ReadSourcePath(settings);
    paths.refdataMdb = ReadRefdataPath(settings);
    ReadDxAtlasPaths(settings, paths);
    return paths;
}

}  // namespace corvale
