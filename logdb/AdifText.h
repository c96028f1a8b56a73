#pragma once

// Internal to logdb: the small text rules of ADIF values.

#include <cstdint>
#include <cstring>
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

// Whether every byte is below 0x80, looked at a word at a time: a few steps for a short value.
inline bool IsAscii(std::string_view text) {
    const auto load = [](const char* at, auto word) {
        std::memcpy(&word, at, sizeof word);
        return static_cast<std::uint64_t>(word);
    };
    const char* p = text.data();
    const std::size_t n = text.size();
    std::uint64_t bits = 0;
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 <= n; i += 8)
            bits |= load(p + i, std::uint64_t{});
        bits |= load(p + n - 8, std::uint64_t{});
    } else if (n >= 4) {
        bits = load(p, std::uint32_t{}) | load(p + n - 4, std::uint32_t{});
    } else if (n > 0) {
        bits = static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[n / 2]) |
               static_cast<unsigned char>(p[n - 1]);
    }
    return (bits & 0x8080808080808080u) == 0;
}

// Upper-cases the ASCII letters only.
void AsciiUpper(std::string& text);

// The program keeps text as UTF-8. Loggers that write Latin-1 bytes into an ADIF file are met in
// practice: a value that is not valid UTF-8 is read as Latin-1 and converted.
void MakeUtf8(std::string& text);

}  // namespace corvale::logdb_detail
