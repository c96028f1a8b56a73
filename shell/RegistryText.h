#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvale {

// A string value from the text of a Wine registry file (system.reg). Key lines are
// "[Software\\Vendor\\Key] <time>", value lines "\"Name\"=\"text\"", "\"Name\"=str(2):\"text\"" or
// "@=..." for the default value; names and texts carry Wine's escapes (\\ \" \n \xNNNN, octal).
// Key and value names compare case-insensitively. std::nullopt when the key does not exist (no
// line names it or a key below it); "" when the key exists without the value or the value is
// not a string. The text ends at its first zero character; when a value appears twice the last
// one counts, as when Wine loads the file. Lines that do not parse are skipped.
std::optional<std::string> ReadRegistryString(std::string_view registryText,
                                              std::string_view keyPath, std::string_view valueName);

}  // namespace corvale
