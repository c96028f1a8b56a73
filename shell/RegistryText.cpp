#include "shell/RegistryText.h"

#include <cstdint>

#include "shell/AnsiText.h"
#include "shell/AsciiCase.h"
#include "shell/TextLines.h"

namespace corvale {

namespace {

constexpr std::uint32_t kReplacementCharacter = 0xFFFD;

// Collects the text of an escaped string: raw UTF-8 bytes and UTF-16 code units from escapes,
// pairing surrogates; an unpaired surrogate becomes U+FFFD.
class EscapedTextSink {
  public:
    void Byte(char c) {
        FlushHighSurrogate();
        text_.push_back(c);
    }

    void CodeUnit(std::uint32_t unit) {
        if (highSurrogate_ && unit >= 0xDC00 && unit <= 0xDFFF) {
            AppendUtf8(text_, 0x10000 + ((*highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00));
            highSurrogate_.reset();
            return;
        }
        FlushHighSurrogate();
        if (unit >= 0xD800 && unit <= 0xDBFF)
            highSurrogate_ = unit;
        else if (unit >= 0xDC00 && unit <= 0xDFFF)
            AppendUtf8(text_, kReplacementCharacter);
        else
            AppendUtf8(text_, unit);
    }

    std::string Finish() {
        FlushHighSurrogate();
        return std::move(text_);
    }

  private:
    void FlushHighSurrogate() {
        if (highSurrogate_)
            AppendUtf8(text_, kReplacementCharacter);
        highSurrogate_.reset();
    }

    std::string text_;
    std::optional<std::uint32_t> highSurrogate_;
};

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

std::optional<std::uint32_t> SimpleEscape(char c) {
    switch (c) {
        case 'a':
            return '\a';
        case 'b':
            return '\b';
        case 'e':
            return 0x1B;
        case 'f':
            return '\f';
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        case 'v':
            return '\v';
        default:
            return std::nullopt;
    }
}

// Reads up to `maxDigits` digits of `base` from the front of `text`; 0 digits read gives 0.
std::uint32_t TakeNumber(std::string_view& text, int base, int maxDigits) {
    std::uint32_t value = 0;
    for (int digits = 0; digits < maxDigits && !text.empty(); ++digits) {
        const int digit = base == 16 ? HexDigitValue(text.front())
                                     : (IsOctalDigit(text.front()) ? text.front() - '0' : -1);
        if (digit < 0)
            break;
        value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
        text.remove_prefix(1);
    }
    return value;
}

// An escaped string that starts just after its opening delimiter: its text, with `text`
// advanced past the closing delimiter. std::nullopt when the delimiter never comes.
std::optional<std::string> TakeEscaped(std::string_view& text, char delimiter) {
    EscapedTextSink sink;
    while (!text.empty()) {
        const char c = text.front();
        text.remove_prefix(1);
        if (c == delimiter)
            return sink.Finish();
        if (c != '\\') {
            sink.Byte(c);
            continue;
        }
        if (text.empty())
            return std::nullopt;
        const char escape = text.front();
        if (const auto control = SimpleEscape(escape)) {
            text.remove_prefix(1);
            sink.CodeUnit(*control);
        } else if (escape == 'x' && text.size() > 1 && HexDigitValue(text[1]) >= 0) {
            text.remove_prefix(1);
            sink.CodeUnit(TakeNumber(text, 16, 4));
        } else if (IsOctalDigit(escape)) {
            sink.CodeUnit(TakeNumber(text, 8, 3));
        } else {
            // Any other escaped character stands for itself: \\ \" \[ \] and "\x" without digits.
            text.remove_prefix(1);
            sink.Byte(escape);
        }
    }
    return std::nullopt;
}

void SkipBlanks(std::string_view& text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
}

bool TakePrefix(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix))
        return false;
    text.remove_prefix(prefix.size());
    return true;
}

// The opening of a string value: "\"", "str:\"" or "str(N):\"". Any other data is not a string.
bool TakeStringDataOpening(std::string_view& data) {
    if (TakePrefix(data, "\"") || TakePrefix(data, "str:\""))
        return true;
    if (!TakePrefix(data, "str("))
        return false;
    TakeNumber(data, 16, 8);
    return TakePrefix(data, "):\"");
}

struct ValueLine {
    std::string name;
    std::string text;  // "" when the data is not a string
};

std::optional<ValueLine> ParseValueLine(std::string_view line) {
    ValueLine value;
    if (!TakePrefix(line, "@")) {
        if (!TakePrefix(line, "\""))
            return std::nullopt;
        auto name = TakeEscaped(line, '"');
        if (!name)
            return std::nullopt;
        value.name = std::move(*name);
    }
    SkipBlanks(line);
    if (!TakePrefix(line, "="))
        return std::nullopt;
    SkipBlanks(line);
    if (TakeStringDataOpening(line)) {
        auto text = TakeEscaped(line, '"');
        if (!text)
            return std::nullopt;
        value.text = text->substr(0, text->find('\0'));
    }
    return value;
}

bool IsSameOrSubKey(std::string_view key, std::string_view wanted) {
    return StartsWithIgnoringAsciiCase(key, wanted) &&
           (key.size() == wanted.size() || key[wanted.size()] == '\\');
}

}  // namespace

std::optional<std::string> ReadRegistryString(std::string_view registryText,
                                              std::string_view keyPath,
                                              std::string_view valueName) {
    bool keyFound = false;
    bool inKey = false;
    std::string found;
    while (!registryText.empty()) {
        std::string_view line = TakeLine(registryText);
        SkipBlanks(line);
        if (TakePrefix(line, "[")) {
            const auto key = TakeEscaped(line, ']');
            inKey = key && EqualsIgnoringAsciiCase(*key, keyPath);
            keyFound = keyFound || (key && IsSameOrSubKey(*key, keyPath));
            continue;
        }
        if (!inKey)
            continue;
        if (auto value = ParseValueLine(line);
            value && EqualsIgnoringAsciiCase(value->name, valueName))
            found = std::move(value->text);
    }
    if (!keyFound)
        return std::nullopt;
    return found;
}

}  // namespace corvale
