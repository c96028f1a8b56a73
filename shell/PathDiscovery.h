#pragma once

#include <string>

#include "shell/WindowsSettings.h"

namespace corvale {

// The paths that the paths dialog offers, composed from DXBase's Dxb2007.ini and DX Atlas's
// uninstall entry by plain concatenation, exactly as the two programs store them.
struct DiscoveredPaths {
    std::string sourceMdb;   // DATAPATH
    std::string refdataMdb;  // PGMPATH + "\Refdata.mdb"
    std::string dxAtlasDir;  // InstallLocation (at most 254 characters)
    bool dxAtlasKeyFound = false;
    std::string lstDir;       // dxAtlasDir + "Pins\"
    std::string ffmaWkdPath;  // dxAtlasDir + "Squares\FFMAsquares.wkd"
    std::string ffmaCfmPath;
    std::string vuccWkdPath;
    std::string vuccCfmPath;
};

std::string ReadSourcePath(const WindowsSettings& settings);
std::string ReadRefdataPath(const WindowsSettings& settings);
// Fills dxAtlasDir, dxAtlasKeyFound and the five compositions.
void ReadDxAtlasPaths(const WindowsSettings& settings, DiscoveredPaths& paths);
DiscoveredPaths DiscoverPaths(const WindowsSettings& settings);

}  // namespace corvale
