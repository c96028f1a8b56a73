#pragma once

#include <filesystem>

namespace corvale {

// Whether a wineserver runs for the Wine prefix. While one runs, the prefix's registry lives in
// the server; Wine writes system.reg only some seconds after the last Windows program ends (or
// at once with `wineserver -w`/`-k`), so a key just written may not be in the file yet.
//
// The server holds a lock on the file "lock" in its folder server-<device>-<inode> (the
// prefix's, in hexadecimal) for as long as it runs. That folder lies in /tmp/.wine-<uid>, or,
// with Debian's Wine, in the folder that <prefix>/wineserver names, below $TMPDIR or /tmp.
bool WineServerRuns(const std::filesystem::path& prefix);

}  // namespace corvale
