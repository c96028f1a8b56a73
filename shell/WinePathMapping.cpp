#include "shell/WinePathMapping.h"

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "shell/AsciiCase.h"
#include "shell/UnicodeCase.h"

namespace corvale {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool HasDriveLetter(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// The names below the drive's root, with "." and ".." resolved as Windows resolves them.
std::vector<std::string_view> NamesBelowRoot(std::string_view path) {
    std::vector<std::string_view> names;
    while (!path.empty()) {
        const auto end = std::find_if(path.begin(), path.end(), IsSeparator);
        const std::string_view name(path.begin(), end);
        path.remove_prefix(name.size() + (end == path.end() ? 0 : 1));
        if (name.empty() || name == ".")
            continue;
        if (name == "..") {
            if (!names.empty())
                names.pop_back();
            continue;
        }
        names.push_back(name);
    }
    return names;
}

// The entry of `folder` that `name` names: the exact name when it exists, otherwise the first
// (in byte order) that differs only in case.
std::optional<std::filesystem::path> FindEntry(const std::filesystem::path& folder,
                                               std::string_view name) {
    std::error_code error;
    std::filesystem::path exact = folder / name;
    if (std::filesystem::exists(exact, error))
        return exact;
    std::optional<std::string> match;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::string candidate = it->path().filename().string();
        if (EqualsIgnoringCase(candidate, name) && (!match || candidate < *match))
            match = std::move(candidate);
    }
    if (!match)
        return std::nullopt;
    return folder / *match;
}

}  // namespace

std::filesystem::path MapWindowsPath(const std::filesystem::path& prefix,
                                     std::string_view windowsPath) {
    if (!HasDriveLetter(windowsPath)) {
        std::string local(windowsPath);
        std::replace(local.begin(), local.end(), '\\', '/');
        return local;
    }
    const std::string drive{ToLowerAscii(windowsPath[0]), ':'};
    std::filesystem::path local = prefix / "dosdevices" / drive;
    bool matching = true;
    for (const std::string_view name : NamesBelowRoot(windowsPath.substr(2))) {
        const auto entry = matching ? FindEntry(local, name) : std::nullopt;
        matching = entry.has_value();
        local = entry ? *entry : local / name;
    }
    return local;
}

}  // namespace corvale
