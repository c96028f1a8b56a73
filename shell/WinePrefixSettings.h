#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "shell/WindowsSettings.h"

namespace corvale {

// The Windows settings of the programs that run in a Wine prefix: the Windows directory
// <prefix>/drive_c/windows, INI files read through the prefix's drives in its ANSI code page and
// HKEY_LOCAL_MACHINE from <prefix>/system.reg. Every file is read afresh on each call; nothing is
// written.
class WinePrefixSettings final : public WindowsSettings {
  public:
    explicit WinePrefixSettings(std::filesystem::path prefix);

    // The prefix to read: `option` (the --wine-prefix value) when given, else $WINEPREFIX when
    // set and not empty, else ~/.wine.
    static std::filesystem::path FindPrefix(const std::optional<std::string>& option);

    const std::filesystem::path& Prefix() const { return prefix_; }

    // The ANSI code page that the prefix's Windows programs write their INI files in: the value
    // ACP of System\CurrentControlSet\Control\Nls\CodePage (or ControlSet001, which
    // CurrentControlSet links to in later Wine), which Wine sets from the locale it last ran in;
    // 1252 when it is missing or not a number.
    unsigned AnsiCodePage() const;

    std::optional<std::string> GetWindowsDirectory() const override;
    std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue,
                                        const std::string& iniPath) const override;
    // A 32-bit program on a 64-bit prefix sees Software\Wow6432Node\...: a key under
    // "Software\" is looked up there first, then where it is named.
    std::optional<std::string> GetMachineRegistryString(const std::string& subKey,
                                                        const std::string& value) const override;
    std::filesystem::path PathToOpen(const std::string& windowsPath) const override;
    // The prefix, when it has no Windows directory (no Wine prefix was made there).
    std::optional<std::string> MissingSettingsPlace() const override;
    // While a wineserver runs for the prefix (WineServerRuns).
    bool RegistryMayBeUnwritten() const override;

  private:
    std::filesystem::path prefix_;
};

}  // namespace corvale
