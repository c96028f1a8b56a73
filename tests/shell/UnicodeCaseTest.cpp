#include "shell/UnicodeCase.h"

#include <gtest/gtest.h>

#include "CaseFile.h"

namespace corvale {
namespace {

TEST(UnicodeCaseTest, MatchesNamesAsWindowsComparesThem) {
    for (const bool equal : {true, false}) {
        for (const test::Case& c :
             test::ReadCases("shell/cases/unicode-case.tsv", equal ? "equal" : "different")) {
            EXPECT_EQ(EqualsIgnoringCase(c[0], c[1]), equal) << c.name;
            EXPECT_EQ(EqualsIgnoringCase(c[1], c[0]), equal) << c.name << " (swapped)";
        }
    }
}

}  // namespace
}  // namespace corvale
