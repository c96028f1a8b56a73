#include "shell/RegistryText.h"

#include <gtest/gtest.h>

#include <string>

#include "CaseFile.h"

namespace corvale {
namespace {

constexpr std::string_view kKey = "Software\\DX Atlas_is1";

// A registry file with one key line for kKey and the given value lines below it.
std::string RegistryWithValues(std::string_view valueLines) {
    return "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n"
           "[Software\\\\DX Atlas_is1] 1700000000\n#time=1da2b3c4d5e6f70\n" +
           std::string(valueLines) + "\n";
}

// Value lines unescaped; keys told apart, and a missing key from a missing value; lines that do
// not parse skipped.
TEST(RegistryTextTest, ReadsTheValueAsWineWroteIt) {
    for (const test::Case& c : test::ReadCases("shell/cases/registry-text.tsv", "value"))
        EXPECT_EQ(ReadRegistryString(RegistryWithValues(c[0]), kKey, "Loc"), c[1]) << c.name;
    for (const test::Case& c : test::ReadCases("shell/cases/registry-text.tsv", "file")) {
        const auto expected = c[1] == "(no key)" ? std::nullopt : std::optional(c[1]);
        EXPECT_EQ(ReadRegistryString(c[0], kKey, "Loc"), expected) << c.name;
    }
    for (const test::Case& c : test::ReadCases("shell/cases/registry-text.tsv", "skipped"))
        EXPECT_EQ(ReadRegistryString(RegistryWithValues(c[0]), kKey, "Loc"), "x") << c.name;
}

TEST(RegistryTextTest, ReadsTheDefaultValueAndUnescapesKeyNames) {
    EXPECT_EQ(ReadRegistryString(RegistryWithValues("@=\"dflt\"\n\"Loc\"=\"x\""), kKey, ""),
              "dflt");
    EXPECT_EQ(ReadRegistryString("[Software\\\\A\\]B] 1\n\"Loc\"=\"x\"\n", "Software\\A]B", "Loc"),
              "x");
}

}  // namespace
}  // namespace corvale
