#include "shell/AnsiText.h"

#include <gtest/gtest.h>

namespace corvale {
namespace {

// What DXBase writes under each Windows locale, read back as Windows reads it.
TEST(AnsiTextTest, DecodesTheCodePageThatWroteTheText) {
    struct Case {
        const char* what;
        unsigned codePage;
        std::string_view ansi;
        std::string_view utf8;
    };
    const Case cases[] = {
        {"Western", 1252, "C:\\J\xFCrgen \x80\x9F", "C:\\J\u00FCrgen \u20AC\u0178"},
        {"Western, bytes 1252 leaves undefined", 1252, "\x81\x8D\x8F\x90\x9D",
         "\u0081\u008D\u008F\u0090\u009D"},
        {"Cyrillic", 1251, "C:\\DXBase\\\xC6\xF3\xF0\xED\xE0\xEB\\log.mdb",
         "C:\\DXBase\\\u0416\u0443\u0440\u043D\u0430\u043B\\log.mdb"},
        {"Cyrillic, a byte 1251 leaves undefined", 1251, "a\x98z", "a\u0098z"},
        {"Japanese", 932, "C:\\\x83\x8D\x83\x4F\\log.mdb", "C:\\\u30ED\u30B0\\log.mdb"},
        // 0x5C, the backslash, is the second byte of this character: no folder ends there.
        {"Japanese, a backslash byte inside a character", 932, "C:\\\x95\x5C\\log.mdb",
         "C:\\\u8868\\log.mdb"},
        {"Japanese, a first byte without its second at the end", 932, "log\x83", "log\u0083"},
        {"Japanese, an undefined byte above 0x9F", 932, "a\xFDz", "a\uFFFDz"},
        {"UTF-8", 65001, "\xD0\x96urnal", "\u0416urnal"},
        {"a code page iconv does not know reads as 1252", 4711, "J\xFCrgen", "J\u00FCrgen"},
        {"empty", 1251, "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnsiToUtf8(c.ansi, c.codePage), c.utf8) << c.what;
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
