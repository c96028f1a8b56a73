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
    EXPECT_EQ(DecodeIniFile("[Dir]\r\nDATAPATH=C:\\J\xFCrgen \x80\x9F\r\n", 1252),
              "[Dir]\r\nDATAPATH=C:\\J\u00FCrgen \u20AC\u0178\r\n");
    EXPECT_EQ(DecodeIniFile("[Dir]\r\nDATAPATH=C:\\\xC6\xF3\xF0\xED\xE0\xEB\r\n", 1251),
              "[Dir]\r\nDATAPATH=C:\\\u0416\u0443\u0440\u043D\u0430\u043B\r\n");
    EXPECT_EQ(DecodeIniFile("\xEF\xBB\xBF[Dir]\nDATAPATH=C:\\J\u00FCrgen\n", 1251),
              "[Dir]\nDATAPATH=C:\\J\u00FCrgen\n");
    EXPECT_EQ(ReadProfileString(DecodeIniFile("\xEF\xBB\xBF[Dir]\nDATAPATH=x\n", 1252), "Dir",
                                "DATAPATH", ""),
              "x");
}

}  // namespace
}  // namespace corvale
