#include "shell/IniText.h"

#include <gtest/gtest.h>

#include <string>

#include "CaseFile.h"

namespace corvale {
namespace {

// One rule of the reader each: the layout of the file, surrounding quotes, missing names.
class IniRule : public ::testing::TestWithParam<const char*> {};

TEST_P(IniRule, FindsTheValueOrGivesTheDefault) {
    for (const test::Case& c : test::ReadCases("shell/cases/ini-text.tsv", GetParam()))
        EXPECT_EQ(ReadProfileString(c[0], "Dir", "DATAPATH", "(default)"), c[1]) << c.name;
}

INSTANTIATE_TEST_SUITE_P(IniTextTest, IniRule, ::testing::Values("Layout", "Quotes", "Missing"),
                         [](const auto& param) { return std::string(param.param); });

TEST(IniTextTest, KeepsAtMost511Characters) {
    const std::string longValue(600, 'a'), kept(511, 'a');
    for (const std::string& value : {longValue, "\"" + longValue + "\"", kept})
        EXPECT_EQ(ReadProfileString("[Dir]\nDATAPATH=" + value + "\n", "Dir", "DATAPATH", ""), kept)
            << value.size();
    EXPECT_EQ(ReadProfileString("", "Dir", "DATAPATH", longValue), kept);
}

TEST(IniTextTest, DecodesTheFileAsAnsiUnlessItCarriesAUtf8Mark) {
    for (const test::Case& c : test::ReadCases("shell/cases/ini-text.tsv", "decode"))
        EXPECT_EQ(DecodeIniFile(c[1], static_cast<unsigned>(std::stoul(c[0]))), c[2]) << c.name;
}

}  // namespace
}  // namespace corvale
