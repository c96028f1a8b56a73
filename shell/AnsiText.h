#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvale {

// The ANSI code page of a Windows installation that has none recorded: Western European.
inline constexpr unsigned kDefaultAnsiCodePage = 1252;

// Text from the Windows side arrives in a code page (Windows numbers them: 1252, 1251, 932, and
// 65001 for UTF-8); inside the program text is UTF-8. Decoded with glibc's iconv. A byte that
// the code page leaves undefined becomes what Windows makes of it: a byte 0x80-0x9F its own C1
// control character, any other U+FFFD. A code page that iconv does not know is read as 1252.
std::string AnsiToUtf8(std::string_view ansi, unsigned codePage);

// Appends one Unicode character, encoded as UTF-8.
void AppendUtf8(std::string& out, std::uint32_t codePoint);

// The first `maxCharacters` characters of UTF-8 text: what a Windows buffer of that many
// characters plus the terminating zero holds, without splitting a character.
std::string_view TruncateUtf8(std::string_view utf8, std::size_t maxCharacters);

// The number of characters in UTF-8 text.
std::size_t CountUtf8Characters(std::string_view utf8);

}  // namespace corvale
