#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvale {

// Text from the Windows side arrives in the ANSI code page (Windows-1252); inside the program
// text is UTF-8. Every byte maps to one character, so nothing is lost.
std::string Windows1252ToUtf8(std::string_view ansi);

// Appends one Unicode character, encoded as UTF-8.
void AppendUtf8(std::string& out, std::uint32_t codePoint);

// The first `maxCharacters` characters of UTF-8 text: what a Windows buffer of that many
// characters plus the terminating zero holds, without splitting a character.
std::string_view TruncateUtf8(std::string_view utf8, std::size_t maxCharacters);

}  // namespace corvale
