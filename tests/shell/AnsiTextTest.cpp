#include "shell/AnsiText.h"

#include <gtest/gtest.h>

namespace corvale {
namespace {

TEST(AnsiTextTest, Windows1252BecomesUtf8ByteForCharacter) {
    struct Case {
        std::string_view ansi;
        std::string_view utf8;
    };
    const Case cases[] = {
        {"C:\\DXBase\\log.mdb", "C:\\DXBase\\log.mdb"},
        {"C:\\J\xFCrgen\\log.mdb", "C:\\J\u00FCrgen\\log.mdb"},
        {"\x80\x8A\x9F", "\u20AC\u0160\u0178"},
        {"\x81\x9D", "\u0081\u009D"},  // unassigned bytes keep their C1 code points
        {"\xA0\xFF", "\u00A0\u00FF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Windows1252ToUtf8(c.ansi), c.utf8) << c.ansi;
}

TEST(AnsiTextTest, TruncationCountsCharactersAndNeverSplitsOne) {
    struct Case {
        std::string_view text;
        std::size_t limit;
        std::string_view kept;
    };
    const Case cases[] = {
        {"abcdef", 4, "abcd"},
        {"abc", 4, "abc"},
        {"abcd", 4, "abcd"},
        {"", 0, ""},
        {"\u00FC\u00FC\u00FC", 2, "\u00FC\u00FC"},
        {"a\u20AC\U0001F600b", 3, "a\u20AC\U0001F600"},
        {"a\u20AC\U0001F600b", 2, "a\u20AC"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TruncateUtf8(c.text, c.limit), c.kept) << c.text << " / " << c.limit;
}

}  // namespace
}  // namespace corvale
