#include "shell/AnsiText.h"

#include <gtest/gtest.h>

#include "CaseFile.h"

namespace corvale {
namespace {

TEST(AnsiTextTest, DecodesTheCodePageThatWroteTheText) {
    for (const test::Case& c : test::ReadCases("shell/cases/ansi-text.tsv", "decode"))
        EXPECT_EQ(AnsiToUtf8(c[1], static_cast<unsigned>(std::stoul(c[0]))), c[2]) << c.name;
}

TEST(AnsiTextTest, TruncationCountsCharactersAndNeverSplitsOne) {
    for (const test::Case& c : test::ReadCases("shell/cases/ansi-text.tsv", "truncate"))
        EXPECT_EQ(TruncateUtf8(c[0], std::stoul(c[1])), c[2]) << c.name;
}

}  // namespace
}  // namespace corvale
