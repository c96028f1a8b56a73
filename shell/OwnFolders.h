#pragma once

#include <filesystem>
#include <initializer_list>
#include <string_view>

#include "shell/PathDiscovery.h"

namespace corvale {

// Corvale's own folders for the pin and squares files, used when DX Atlas's installation does
// not give one: <data home>/corvale/Pins and <data home>/corvale/Squares, where the data home
// is $XDG_DATA_HOME when it is an absolute path, else ~/.local/share. They are made when a file
// is first written into them.
struct OwnFolders {
    std::filesystem::path pins;
    std::filesystem::path squares;
};

OwnFolders FindOwnFolders();

// When DX Atlas's folder is unknown (dxAtlasDir empty), the LST folder (with its trailing
// separator, as the form joins the names to it) and the four squares paths lie in `folders`;
// otherwise the paths stay as composed from DX Atlas's folder.
void UseOwnFoldersWithoutDxAtlas(DiscoveredPaths& paths, const OwnFolders& folders);

// Makes the folder of each file that lies in one of Corvale's own folders, with the folders
// above it; any other folder is the user's to make. Empty names are skipped. Throws
// std::runtime_error naming the folder that cannot be made.
void MakeOwnFoldersOf(std::initializer_list<std::string_view> files);

}  // namespace corvale
