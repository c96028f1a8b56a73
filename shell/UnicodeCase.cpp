#include "shell/UnicodeCase.h"

#include <glib.h>

namespace corvale {

namespace {

constexpr gunichar kLastBmpCharacter = 0xFFFF;

// The next character of `text` upper-cased, taken off its front; a byte that does not start a
// valid UTF-8 character comes back as itself, marked above the Unicode range so that it never
// equals a character.
gunichar TakeUpperCharacter(std::string_view& text) {
    const gunichar c = g_utf8_get_char_validated(text.data(), static_cast<gssize>(text.size()));
    if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2)) {
        const auto byte = static_cast<unsigned char>(text.front());
        text.remove_prefix(1);
        return 0x110000 + byte;
    }
    const char* next = g_utf8_next_char(text.data());
    text.remove_prefix(static_cast<std::size_t>(next - text.data()));
    return c <= kLastBmpCharacter ? g_unichar_toupper(c) : c;
}

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    while (!a.empty() && !b.empty()) {
        if (TakeUpperCharacter(a) != TakeUpperCharacter(b))
            return false;
    }
    return a.empty() && b.empty();
}

}  // namespace corvale
