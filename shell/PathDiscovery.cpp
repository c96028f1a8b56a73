#include "shell/PathDiscovery.h"

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
    const std::string& folder = paths.dxAtlasDir;
    paths.lstDir = folder + "Pins\\";
    paths.ffmaWkdPath = folder + "Squares\\FFMAsquares.wkd";
    paths.ffmaCfmPath = folder + "Squares\\FFMAsquares.cfm";
    paths.vuccWkdPath = folder + "Squares\\VUCCsquares.wkd";
    paths.vuccCfmPath = folder + "Squares\\VUCCsquares.cfm";
}

DiscoveredPaths DiscoverPaths(const WindowsSettings& settings) {
    DiscoveredPaths paths;
    paths.sourceMdb = ReadSourcePath(settings);
    paths.refdataMdb = ReadRefdataPath(settings);
    ReadDxAtlasPaths(settings, paths);
    return paths;
}

}  // namespace corvale
