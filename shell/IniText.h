#pragma once

#include <string>
#include <string_view>

namespace corvale {

// GetPrivateProfileStringA over the text of an INI file (UTF-8, see DecodeIniFile), with a
// buffer of 512 characters. Lines are "[section]" or "key=value"; section and key names compare
// case-insensitively; the value is trimmed, one pair of surrounding double or single quotes is
// removed and at most 511 characters are kept. Only the first section of the name is read and
// the first occurrence of the key in it counts. There are no comments: a ';' or '#' is text, and
// a line without '=' holds no value. `defaultValue` when the section or key is missing.
std::string ReadProfileString(std::string_view iniText, std::string_view section,
                              std::string_view key, std::string_view defaultValue);

// The text of an INI file as it lies on disk, as UTF-8: after a UTF-8 byte order mark it is
// UTF-8 already, otherwise it is in the ANSI code page of the Windows that wrote it (a
// Russian DXBase writes 1251).
std::string DecodeIniFile(std::string_view fileBytes, unsigned ansiCodePage);

}  // namespace corvale
