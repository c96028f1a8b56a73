#include "shell/RegistryText.h"

#include <gtest/gtest.h>

#include <string>

namespace corvale {
namespace {

constexpr std::string_view kKey = "Software\\DX Atlas_is1";

// A registry file with one key line for kKey and the given value lines below it.
std::string RegistryWithValues(std::string_view valueLines) {
    return "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n"
           "[Software\\\\DX Atlas_is1] 1700000000\n#time=1da2b3c4d5e6f70\n" +
           std::string(valueLines) + "\n";
}

TEST(RegistryTextTest, UnescapesStringValues) {
    struct Case {
        const char* what;
        std::string_view line;
        std::string_view expected;
    };
    const Case cases[] = {
        {"doubled backslashes", R"("Loc"="C:\\Program Files\\DX Atlas\\")",
         "C:\\Program Files\\DX Atlas\\"},
        {"CRLF line end", "\"Loc\"=\"C:\\\\x\"\r", "C:\\x"},
        {"quote", R"("Loc"="a \"b\"")", "a \"b\""},
        {"C escapes", R"("Loc"="\a\b\e\f\n\r\t\v")", "\a\b\x1B\f\n\r\t\v"},
        {"hex, four digits", R"("Loc"="caf\x00e9 1")", "caf\u00E9 1"},
        {"hex, short form", R"("Loc"="caf\xe9")", "caf\u00E9"},
        {"hex, euro sign", R"("Loc"="\x20ac")", "\u20AC"},
        {"hex, surrogate pair", R"("Loc"="\xd83d\xde00!")", "\U0001F600!"},
        {"hex, lone high surrogate", R"("Loc"="\xd83dx")", "\uFFFDx"},
        {"hex, lone low surrogate", R"("Loc"="\xde00")", "\uFFFD"},
        {"hex without digits", R"("Loc"="\xyz")", "xyz"},
        {"octal", R"("Loc"="\101\0602")", "A02"},
        {"other escaped characters", R"("Loc"="\[\]\q")", "[]q"},
        {"raw UTF-8 kept", "\"Loc\"=\"J\xC3\xBCrgen\"", "J\u00FCrgen"},
        {"ends at its first zero", R"("Loc"="C:\\DX\\\0garbage")", "C:\\DX\\"},
        {"expandable string", R"("Loc"=str(2):"%ProgramFiles%\\DX")", "%ProgramFiles%\\DX"},
        {"typed string", R"("Loc"=str:"x")", "x"},
        {"value name in other case", R"("LOC"="x")", "x"},
        {"blanks around '='", "\"Loc\" \t= \"x\"", "x"},
        {"escaped value name", R"("L\157c"="x")", "x"},
        {"not a string", R"("Loc"=dword:00000001)", ""},
        {"binary", R"("Loc"=hex:43,3a,00)", ""},
        {"empty string", R"("Loc"="")", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadRegistryString(RegistryWithValues(c.line), kKey, "Loc"), c.expected)
            << c.what;
    }
}

TEST(RegistryTextTest, ReadsTheDefaultValueAndUnescapesKeyNames) {
    EXPECT_EQ(ReadRegistryString(RegistryWithValues("@=\"dflt\"\n\"Loc\"=\"x\""), kKey, ""),
              "dflt");
    EXPECT_EQ(ReadRegistryString("[Software\\\\A\\]B] 1\n\"Loc\"=\"x\"\n", "Software\\A]B", "Loc"),
              "x");
}

TEST(RegistryTextTest, TellsAMissingKeyFromAMissingValue) {
    struct Case {
        const char* what;
        std::string text;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"empty file", "", std::nullopt},
        {"key missing", "[Software\\\\Other] 1\n\"Loc\"=\"x\"\n", std::nullopt},
        {"key that only starts alike", "[Software\\\\DX Atlas_is1x] 1\n\"Loc\"=\"x\"\n",
         std::nullopt},
        {"parent key only", "[Software] 1\n\"Loc\"=\"x\"\n", std::nullopt},
        {"value missing", RegistryWithValues("\"Other\"=\"x\""), ""},
        {"key named in other case", "[SOFTWARE\\\\dx atlas_IS1] 1\n\"Loc\"=\"x\"\n", "x"},
        {"key known through a subkey", "[Software\\\\DX Atlas_is1\\\\Sub] 1\n\"Loc\"=\"x\"\n", ""},
        {"values of a subkey are not the key's",
         "[Software\\\\DX Atlas_is1] 1\n[Software\\\\DX Atlas_is1\\\\Sub] 1\n\"Loc\"=\"x\"\n", ""},
        {"values of the following key are not the key's",
         RegistryWithValues("[Software\\\\Other] 1\n\"Loc\"=\"x\""), ""},
        {"the last of two values counts",
         "[Software\\\\DX Atlas_is1] 1\n\"Loc\"=\"a\"\n[Software\\\\DX Atlas_is1] "
         "2\n\"Loc\"=\"b\"\n",
         "b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadRegistryString(c.text, kKey, "Loc"), c.expected) << c.what;
}

TEST(RegistryTextTest, SkipsLinesThatDoNotParse) {
    struct Case {
        const char* what;
        std::string_view lines;
    };
    const Case cases[] = {
        {"unclosed value text", "\"Loc\"=\"C:\\\\never closed\n\"Loc\"=\"x\""},
        {"backslash at the end", "\"Loc\"=\"C:\\\n\"Loc\"=\"x\""},
        {"unclosed value name", "\"Loc=\"y\n\"Loc\"=\"x\""},
        {"no '='", "\"Loc\" \"y\"\n\"Loc\"=\"x\""},
        {"unclosed typed string", "\"Loc\"=str(2\n\"Loc\"=\"x\""},
        {"hex continuation lines", "\"Bin\"=hex:01,02,\\\n  03,04\n\"Loc\"=\"x\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadRegistryString(RegistryWithValues(c.lines), kKey, "Loc"), "x") << c.what;

    // An unclosed key line opens no key, and the values below it belong to none.
    EXPECT_EQ(ReadRegistryString("[Software\\\\DX Atlas_is1\n\"Loc\"=\"x\"\n", kKey, "Loc"),
              std::nullopt);
    EXPECT_EQ(
        ReadRegistryString(RegistryWithValues("[Software\\\\Broken\n\"Loc\"=\"y\""), kKey, "Loc"),
        "");
}

}  // namespace
}  // namespace corvale
