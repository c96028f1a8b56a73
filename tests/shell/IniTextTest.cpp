#include "shell/IniText.h"

#include <gtest/gtest.h>

#include <string>

namespace corvale {
namespace {

struct ProfileCase {
    const char* what;
    std::string text;
    std::string expected;  // "<default>" when the default is expected
};

constexpr const char* kDefault = "<default>";

void ExpectDataPath(const ProfileCase& c) {
    EXPECT_EQ(ReadProfileString(c.text, "Dir", "DATAPATH", kDefault), c.expected) << c.what;
}

TEST(IniTextTest, FindsTheValueWhateverTheLayout) {
    const ProfileCase cases[] = {
        {"plain", "[Dir]\nDATAPATH=C:\\DXBase\\log.mdb\n", "C:\\DXBase\\log.mdb"},
        {"CRLF line ends", "[Dir]\r\nPGMPATH=C:\\DXBase\r\nDATAPATH=C:\\log.mdb\r\n",
         "C:\\log.mdb"},
        {"no line end at the end", "[Dir]\nDATAPATH=x", "x"},
        {"blanks around everything", "  [Dir]  \n \t DATAPATH \t=  C:\\My Logs\\a.mdb \t \r\n",
         "C:\\My Logs\\a.mdb"},
        {"indented line after another key is a key of its own",
         "[Dir]\n  PGMPATH=C:\\DXBase\n  DATAPATH=C:\\log.mdb\n", "C:\\log.mdb"},
        {"section and key in other case", "[dIR]\ndataPath=x\n", "x"},
        {"earlier sections skipped", "[Other]\nDATAPATH=wrong\n[Dir]\nDATAPATH=right\n", "right"},
        {"text after the closing bracket", "[Dir] ; settings\nDATAPATH=x\n", "x"},
        {"'=' inside the value", "[Dir]\nDATAPATH=a=b\n", "a=b"},
        {"';' inside a path", "[Dir]\nDATAPATH=C:\\Logs ;old\\a;b.mdb\n", "C:\\Logs ;old\\a;b.mdb"},
        {"'#' inside a path", "[Dir]\nDATAPATH=C:\\Logs #2\\a.mdb\n", "C:\\Logs #2\\a.mdb"},
        {"comment line is no key", "[Dir]\n; DATAPATH=wrong\nDATAPATH=right\n", "right"},
        {"first occurrence wins", "[Dir]\nDATAPATH=first\nDATAPATH=second\n", "first"},
        {"empty value is a value", "[Dir]\nDATAPATH=\n", ""},
        {"end-of-file mark trimmed", "[Dir]\nDATAPATH=x\x1A", "x"},
    };
    for (const auto& c : cases)
        ExpectDataPath(c);
}

TEST(IniTextTest, RemovesOnePairOfSurroundingQuotes) {
    const ProfileCase cases[] = {
        {"double quotes", "[Dir]\nDATAPATH=\"C:\\My Logs\\a.mdb\"\n", "C:\\My Logs\\a.mdb"},
        {"single quotes", "[Dir]\nDATAPATH='C:\\a.mdb'\n", "C:\\a.mdb"},
        {"blanks inside kept", "[Dir]\nDATAPATH=\" x \"\n", " x "},
        {"only one pair", "[Dir]\nDATAPATH=\"\"x\"\"\n", "\"x\""},
        {"empty quotes", "[Dir]\nDATAPATH=\"\"\n", ""},
        {"lone quote", "[Dir]\nDATAPATH=\"\n", "\""},
        {"mixed quotes kept", "[Dir]\nDATAPATH=\"x'\n", "\"x'"},
        {"quote inside kept", "[Dir]\nDATAPATH=a\"b\"\n", "a\"b\""},
    };
    for (const auto& c : cases)
        ExpectDataPath(c);
}

TEST(IniTextTest, GivesTheDefaultWhenSectionOrKeyIsMissing) {
    const ProfileCase cases[] = {
        {"empty file", "", kDefault},
        {"no such section", "[Other]\nDATAPATH=x\n", kDefault},
        {"no such key", "[Dir]\nPGMPATH=x\n", kDefault},
        {"key before any section", "DATAPATH=x\n[Dir]\n", kDefault},
        {"key in a later section", "[Dir]\nPGMPATH=x\n[Other]\nDATAPATH=x\n", kDefault},
        {"only the first section of the name is read", "[Dir]\nPGMPATH=x\n[Dir]\nDATAPATH=x\n",
         kDefault},
        {"line without '='", "[Dir]\nDATAPATH\n", kDefault},
        {"key that only starts alike", "[Dir]\nDATAPATH2=x\n", kDefault},
        {"section that only starts alike", "[Directory]\nDATAPATH=x\n", kDefault},
        {"unclosed section header", "[Dir\nDATAPATH=x\n", kDefault},
    };
    for (const auto& c : cases)
        ExpectDataPath(c);
}

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
