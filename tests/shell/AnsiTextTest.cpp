#include "shell/AnsiText.h"

#include <gtest/gtest.h>

namespace corvale {
namespace {

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
