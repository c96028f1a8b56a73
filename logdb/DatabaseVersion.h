#pragma once

#include <string>
#include <string_view>

namespace corvale {

// The text of the first column of the first row of [VERSION] in the log at `path`.
// Throws DbError when the file cannot be read, or the table is missing or has no row.
std::string ReadDatabaseVersion(const std::string& path);

// The version rule: the C atoi of the text equals 6 (leading blanks and a sign skipped, digits up
// to the first non-digit counted, no digits counting as 0).
bool IsSupportedDatabaseVersion(std::string_view versionText);

// Both together: true when the log at `path` has version 6; false when it has another version or
// no readable [VERSION] table. Throws DbError only when the file itself cannot be opened.
bool CheckDatabaseVersion(const std::string& path);

}  // namespace corvale
