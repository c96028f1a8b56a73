#pragma once

// Internal to logdb: the small text rules of ADIF values.

#include <string>
#include <string_view>

namespace corvale::logdb_detail {

constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

constexpr std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Upper-cases the ASCII letters only.
void AsciiUpper(std::string& text);

// The program keeps text as UTF-8. Loggers that write Latin-1 bytes into an ADIF file are met in
// practice: a value that is not valid UTF-8 is read as Latin-1 and converted.
void MakeUtf8(std::string& text);

}  // namespace corvale::logdb_detail
