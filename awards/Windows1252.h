#pragma once

#include <string>
#include <string_view>

namespace corvale {

// DX Atlas reads its files in the Windows ANSI code page. Converts UTF-8 text to Windows-1252;
// a character outside that code page, or a byte that is not valid UTF-8, becomes "?".
std::string Utf8ToWindows1252(std::string_view utf8);

}  // namespace corvale
