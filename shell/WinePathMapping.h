#pragma once

#include <filesystem>
#include <string_view>

namespace corvale {

// The local file that a stored Windows path names, seen from a Wine prefix.
//
// A path with a drive letter ("C:\Program Files\DX Atlas\Pins\WASpins.lst") starts at the
// drive's link <prefix>/dosdevices/<letter>: (letter in lower case). Each folder or file name
// is then matched against what exists without regard to case, for every letter as Windows
// would (EqualsIgnoringCase: "DX ATLÄB" finds "DX Atläb"); from the first
// name that does not exist (a file yet to be created) on, the names are kept as written.
// "\" and "/" both separate names, empty names and "." are dropped and ".." goes up one name,
// never above the drive.
//
// A path without a drive letter is taken as it stands, with backslashes becoming slashes: a
// relative one is relative to the current folder, and one that starts with a backslash starts
// at the root, which is where Wine's drive of the current folder (Z:) has its root.
std::filesystem::path MapWindowsPath(const std::filesystem::path& prefix,
                                     std::string_view windowsPath);

}  // namespace corvale
