#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace corvale {

// The seam to the Windows platform that the paths are read from: the Windows directory, an INI
// string, a registry string and the mapping of a stored Windows path to a file to open. On Linux
// the two Windows programs live in a Wine prefix (WinePrefixSettings); a native Windows build
// would call the Win32 functions of the same names.
class WindowsSettings {
  public:
    virtual ~WindowsSettings() = default;

    // GetWindowsDirectoryA: "C:\windows"; nothing when it is not available.
    virtual std::optional<std::string> GetWindowsDirectory() const = 0;

    // GetPrivateProfileStringA: section and key names compare case-insensitively, the value is
    // trimmed and one pair of surrounding quotes removed, at most 511 characters; `defaultValue`
    // when the file, section or key is missing. `iniPath` is a Windows path.
    virtual std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                                const std::string& defaultValue,
                                                const std::string& iniPath) const = 0;

    // A string value under HKEY_LOCAL_MACHINE. std::nullopt when the key cannot be opened; ""
    // when the key exists but the value does not.
    virtual std::optional<std::string> GetMachineRegistryString(const std::string& subKey,
                                                                const std::string& value) const = 0;

    // The local file that a stored Windows path names.
    virtual std::filesystem::path PathToOpen(const std::string& windowsPath) const = 0;

    // Where the settings were looked for, when nothing is there at all (a Wine prefix that does
    // not exist), so that a message can say where Corvale looked; nothing when the place exists.
    virtual std::optional<std::string> MissingSettingsPlace() const { return std::nullopt; }

    // Whether the registry may hold changes that are not yet where it is read from. Windows
    // answers from the live registry; Wine writes its registry file some seconds after the last
    // program ends.
    virtual bool RegistryMayBeUnwritten() const { return false; }
};

}  // namespace corvale
