#include "shell/WinePrefixSettings.h"

#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>
#include <utility>

#include "shell/AnsiText.h"
#include "shell/AsciiCase.h"
#include "shell/HomeFolder.h"
#include "shell/IniText.h"
#include "shell/RegistryText.h"
#include "shell/WinePathMapping.h"
#include "shell/WineServer.h"

namespace corvale {

namespace {

constexpr std::string_view kSoftwareKey = "Software\\";
constexpr std::string_view kWow64Node = "Wow6432Node\\";
constexpr std::string_view kCodePageKeys[] = {
    "System\\CurrentControlSet\\Control\\Nls\\CodePage",
    "System\\ControlSet001\\Control\\Nls\\CodePage",
};

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string content{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad())
        return std::nullopt;
    return content;
}

}  // namespace

WinePrefixSettings::WinePrefixSettings(std::filesystem::path prefix) : prefix_(std::move(prefix)) {}

std::filesystem::path WinePrefixSettings::FindPrefix(const std::optional<std::string>& option) {
    if (option)
        return *option;
    if (const char* fromEnvironment = std::getenv("WINEPREFIX");
        fromEnvironment != nullptr && *fromEnvironment != '\0') {
        return fromEnvironment;
    }
    return HomeFolder() / ".wine";
}

std::optional<std::string> WinePrefixSettings::GetWindowsDirectory() const {
    std::error_code error;
    if (std::filesystem::is_directory(prefix_ / "drive_c" / "windows", error))
        return "C:\\windows";
    return std::nullopt;
}

std::string WinePrefixSettings::GetPrivateProfileString(const std::string& section,
                                                        const std::string& key,
                                                        const std::string& defaultValue,
                                                        const std::string& iniPath) const {
    const auto file = ReadWholeFile(PathToOpen(iniPath));
    return ReadProfileString(file ? DecodeIniFile(*file, AnsiCodePage()) : std::string(), section,
                             key, defaultValue);
}

unsigned WinePrefixSettings::AnsiCodePage() const {
    const auto registry = ReadWholeFile(prefix_ / "system.reg");
    if (!registry)
        return kDefaultAnsiCodePage;
    for (const std::string_view key : kCodePageKeys) {
        const std::string text = ReadRegistryString(*registry, key, "ACP").value_or("");
        unsigned codePage = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), codePage);
        if (error == std::errc() && end == text.data() + text.size() && codePage != 0)
            return codePage;
    }
    return kDefaultAnsiCodePage;
}

bool WinePrefixSettings::RegistryMayBeUnwritten() const {
    return WineServerRuns(prefix_);
}

std::optional<std::string> WinePrefixSettings::GetMachineRegistryString(
    const std::string& subKey, const std::string& value) const {
    const auto registry = ReadWholeFile(prefix_ / "system.reg");
    if (!registry)
        return std::nullopt;
    if (StartsWithIgnoringAsciiCase(subKey, kSoftwareKey)) {
        std::string wow64Key = subKey;
        wow64Key.insert(kSoftwareKey.size(), kWow64Node);
        if (auto found = ReadRegistryString(*registry, wow64Key, value))
            return found;
    }
    return ReadRegistryString(*registry, subKey, value);
}

std::filesystem::path WinePrefixSettings::PathToOpen(const std::string& windowsPath) const {
    return MapWindowsPath(prefix_, windowsPath);
}

std::optional<std::string> WinePrefixSettings::MissingSettingsPlace() const {
    if (GetWindowsDirectory())
        return std::nullopt;
    return prefix_.string();
}

}  // namespace corvale
