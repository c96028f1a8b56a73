#include "cli/CliPaths.h"

#include <stdexcept>

#include "shell/OwnFolders.h"
#include "shell/PathDiscovery.h"
#include "shell/WinePrefixSettings.h"

namespace corvale {

namespace {

bool NeedsSettings(const CliOptions& options) {
    return !options.sourceMdb || !options.lstDir || (options.squares && !options.squaresDir);
}

std::string NoPrefixHint(const std::string& prefix) {
    return "there is no Wine prefix at " + prefix +
           " (read another with --wine-prefix DIR or WINEPREFIX)";
}

}  // namespace

CliPaths ResolveCliPaths(const CliOptions& options) {
    CliPaths paths{options.sourceMdb.value_or(""), options.lstDir.value_or(""),
                   options.squaresDir.value_or(""), ""};
    if (!NeedsSettings(options))
        return paths;

    const WinePrefixSettings settings(WinePrefixSettings::FindPrefix(options.winePrefix));
    const DiscoveredPaths found = DiscoverPaths(settings);
    const std::string prefix = settings.Prefix().string();
    const bool prefixMissing = settings.MissingSettingsPlace().has_value();
    if (!options.sourceMdb) {
        if (prefixMissing && found.sourceMdb.empty())
            throw std::runtime_error("no log to read: give --source-mdb; " + NoPrefixHint(prefix));
        if (found.sourceMdb.empty()) {
            throw std::runtime_error(
                "no log to read: give --log, or set DATAPATH in section [Dir] of "
                "DXBase's Dxb2007.ini in the Wine prefix " +
                prefix + " (drive_c/windows)");
        }
        paths.sourceMdb = settings.PathToOpen(found.sourceMdb).string();
    }
    const bool needsDxAtlas = !options.lstDir || (options.squares && !options.squaresDir);
    if (!needsDxAtlas)
        return paths;
    const std::string problem = DxAtlasPathsProblem(settings, found);
    if (found.dxAtlasDir.empty()) {
        // Without DX Atlas the files go to Corvale's own folders, and the user is told where.
        const OwnFolders own = FindOwnFolders();
        if (!options.lstDir)
            paths.lstDir = own.pins.string();
        if (options.squares && !options.squaresDir)
            paths.squaresDir = own.squares.string();
        paths.notice = (prefixMissing ? NoPrefixHint(prefix) + "."
                                      : "in the Wine prefix " + prefix + ": " + problem) +
                       " The files go to Corvale's own folders under " +
                       own.pins.parent_path().string() + ".";
        return paths;
    }
    if (!problem.empty()) {
        throw std::runtime_error("no output folder in the Wine prefix " + prefix + ": " + problem +
                                 " Give --lst-dir (and --squares-dir).");
    }
    if (!options.lstDir)
        paths.lstDir = settings.PathToOpen(found.lstDir).string();
    if (options.squares && !options.squaresDir)
        paths.squaresDir = settings.PathToOpen(found.dxAtlasDir + "Squares\\").string();
    return paths;
}

}  // namespace corvale
