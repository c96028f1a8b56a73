#pragma once

#include <cstddef>
#include <string>

#include "shell/WindowsSettings.h"

namespace corvale {

// The paths that the paths dialog offers, composed from DXBase's Dxb2007.ini and DX Atlas's
// uninstall entry by plain concatenation, exactly as the two programs store them.
struct DiscoveredPaths {
    std::string sourceMdb;                      // DATAPATH
    std::string refdataMdb;                     // PGMPATH + "\Refdata.mdb"
    std::string dxAtlasDir;                     // InstallLocation (at most 254 characters)
    std::size_t dxAtlasLocationCharacters = 0;  // of InstallLocation before the cut
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

// Why the DX Atlas paths lead nowhere, in words, or "" when nothing is known against them: the
// uninstall entry is missing (adding, while Wine runs in the prefix, that Wine may not have
// written its registry yet), the entry has no install location, or the install location was cut
// to 254 characters and the cut folder does not exist.
std::string DxAtlasPathsProblem(const WindowsSettings& settings, const DiscoveredPaths& paths);

}  // namespace corvale
