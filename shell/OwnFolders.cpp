#include "shell/OwnFolders.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>

#include "shell/HomeFolder.h"

namespace corvale {

namespace {

std::filesystem::path DataHome() {
    // A relative $XDG_DATA_HOME is invalid and ignored, as the XDG base directory rules say.
    if (const char* dataHome = std::getenv("XDG_DATA_HOME");
        dataHome != nullptr && std::filesystem::path(dataHome).is_absolute()) {
        return dataHome;
    }
    return HomeFolder() / ".local" / "share";
}

// The folder as a comparable name: normalised, without a trailing separator.
std::filesystem::path Comparable(const std::filesystem::path& folder) {
    std::filesystem::path normal = folder.lexically_normal();
    return normal.has_filename() ? normal : normal.parent_path();
}

}  // namespace

OwnFolders FindOwnFolders() {
    const std::filesystem::path corvale = DataHome() / "corvale";
    return {corvale / "Pins", corvale / "Squares"};
}

void UseOwnFoldersWithoutDxAtlas(DiscoveredPaths& paths, const OwnFolders& folders) {
    if (!paths.dxAtlasDir.empty())
        return;
    paths.lstDir = (folders.pins / "").string();
    paths.ffmaWkdPath = (folders.squares / "FFMAsquares.wkd").string();
    paths.ffmaCfmPath = (folders.squares / "FFMAsquares.cfm").string();
    paths.vuccWkdPath = (folders.squares / "VUCCsquares.wkd").string();
    paths.vuccCfmPath = (folders.squares / "VUCCsquares.cfm").string();
}

void MakeOwnFoldersOf(std::initializer_list<std::string_view> files) {
    const OwnFolders own = FindOwnFolders();
    for (const std::string_view file : files) {
        if (file.empty())
            continue;
        const std::filesystem::path folder = Comparable(std::filesystem::path(file).parent_path());
        if (folder != Comparable(own.pins) && folder != Comparable(own.squares))
            continue;
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            throw std::runtime_error("Cannot create the folder \"" + folder.string() +
                                     "\": " + error.message());
        }
    }
}

}  // namespace corvale
