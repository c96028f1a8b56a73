#include "shell/IniText.h"

#include <optional>

#include "shell/AnsiText.h"
#include "shell/AsciiCase.h"
#include "shell/TextLines.h"

// The file is read here rather than with inih: Debian's build of inih reads at most 200 bytes
// a line and takes " ;" as the start of a comment, an indented line as the continuation of the
// previous value and ':' as a separator. Windows does none of that, and a DATAPATH may hold
// ';' and be up to 511 characters long.

namespace corvale {

namespace {

constexpr std::size_t kValueCharacters = 511;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The white space that the Windows profile reader trims, the DOS end-of-file mark included.
bool IsProfileSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsProfileSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsProfileSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// The name of a "[name]" line (trimmed already): the text up to the last ']'. A line with
// no ']' after the '[' is not a section header.
std::optional<std::string_view> SectionName(std::string_view line) {
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const auto close = line.rfind(']');
    if (close == std::string_view::npos || close == 0)
        return std::nullopt;
    return line.substr(1, close - 1);
}

std::string_view StripOneQuotePair(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::optional<std::string_view> FindValue(std::string_view text, std::string_view section,
                                          std::string_view key) {
    bool inSection = false;
    while (!text.empty()) {
        const std::string_view line = Trim(TakeLine(text));
        if (const auto name = SectionName(line)) {
            if (inSection)
                return std::nullopt;
            inSection = EqualsIgnoringAsciiCase(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        const auto equals = line.find('=');
        if (equals != std::string_view::npos &&
            EqualsIgnoringAsciiCase(Trim(line.substr(0, equals)), key)) {
            return Trim(line.substr(equals + 1));
        }
    }
    return std::nullopt;
}

}  // namespace

std::string ReadProfileString(std::string_view iniText, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
    const auto value = FindValue(iniText, section, key);
    const std::string_view result = value ? StripOneQuotePair(*value) : defaultValue;
    return std::string(TruncateUtf8(result, kValueCharacters));
}

std::string DecodeIniFile(std::string_view fileBytes, unsigned ansiCodePage) {
    if (fileBytes.starts_with(kUtf8ByteOrderMark))
        return std::string(fileBytes.substr(kUtf8ByteOrderMark.size()));
    return AnsiToUtf8(fileBytes, ansiCodePage);
}

}  // namespace corvale
