#include "cli/CliPaths.h"

#include <stdexcept>

#include "shell/PathDiscovery.h"
#include "shell/WinePrefixSettings.h"

namespace corvale {

namespace {

bool NeedsSettings(const CliOptions& options) {
    return !options.sourceMdb || !options.lstDir || (options.squares && !options.squaresDir);
}

}  // namespace

CliPaths ResolveCliPaths(const CliOptions& options) {
    CliPaths paths{options.sourceMdb.value_or(""), options.lstDir.value_or(""),
                   options.squaresDir.value_or("")};
    if (!NeedsSettings(options))
        return paths;

    const WinePrefixSettings settings(WinePrefixSettings::FindPrefix(options.winePrefix));
    const DiscoveredPaths found = DiscoverPaths(settings);
    const std::string prefix = settings.Prefix().string();
    if (!options.sourceMdb) {
        if (found.sourceMdb.empty()) {
            throw std::runtime_error(
                "no log to read: give --log, or set DATAPATH in section [Dir] of "
                "DXBase's Dxb2007.ini in the Wine prefix " +
                prefix + " (drive_c/windows)");
        }
        paths.sourceMdb = settings.PathToOpen(found.sourceMdb).string();
    }
    const bool needsDxAtlas = !options.lstDir || (options.squares && !options.squaresDir);
    if (needsDxAtlas && found.dxAtlasDir.empty()) {
        throw std::runtime_error(
            "no output folder: give --lst-dir (and --squares-dir), or install DX Atlas in the "
            "Wine prefix " +
            prefix +
            "; its installation folder (InstallLocation of the uninstall entry \"DX "
            "Atlas_is1\") was not found in system.reg");
    }
    if (!options.lstDir)
        paths.lstDir = settings.PathToOpen(found.lstDir).string();
    if (options.squares && !options.squaresDir) {
        paths.squaresDir = settings.PathToOpen(found.dxAtlasDir + "Squares\\").string();
    }
    return paths;
}

}  // namespace corvale
