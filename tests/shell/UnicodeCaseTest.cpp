#include "shell/UnicodeCase.h"

#include <gtest/gtest.h>

namespace corvale {
namespace {

TEST(UnicodeCaseTest, MatchesNamesAsWindowsComparesThem) {
    struct Case {
        const char* what;
        std::string_view a;
        std::string_view b;
        bool equal;
    };
    const Case cases[] = {
        {"ASCII", "DX ATLAS", "dx atlas", true},
        {"German umlaut", "DX ATL\u00C4B", "DX Atl\u00E4b", true},
        {"Cyrillic", "\u0416\u0423\u0420\u041D\u0410\u041B", "\u0436\u0443\u0440\u043D\u0430\u043B",
         true},
        {"Greek final sigma", "\u03A3\u039F\u03A6\u0399\u0391\u03A3",
         "\u03C3\u03BF\u03C6\u03B9\u03B1\u03C2", true},
        {"title-case letter", "\u01C4", "\u01C5", true},
        {"no full folding: sharp s is not SS", "STRASSE", "Stra\u00DFe", false},
        {"other letters differ", "DX Atlas", "DX Atlbs", false},
        {"accent is not case", "Atlas", "Atl\u00E1s", false},
        {"one name longer", "Pins", "Pins2", false},
        {"above U+FFFF only exactly (Deseret)", "\U00010400", "\U00010428", false},
        {"above U+FFFF, the same", "\U00010400", "\U00010400", true},
        {"bytes that are not UTF-8, the same", "log\xFF.mdb", "LOG\xFF.MDB", true},
        {"bytes that are not UTF-8, different", "log\xFF", "log\xFE", false},
        {"a stray byte is not the character it resembles", "\xC4", "\u00C4", false},
        {"empty", "", "", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EqualsIgnoringCase(c.a, c.b), c.equal) << c.what;
        EXPECT_EQ(EqualsIgnoringCase(c.b, c.a), c.equal) << c.what << " (swapped)";
    }
}

}  // namespace
}  // namespace corvale
