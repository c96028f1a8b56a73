#include <gtest/gtest.h>

#include <vector>

#include "CaseFile.h"
#include "LogdbTestSupport.h"
#include "logdb/DatabaseVersion.h"
#include "logdb/DbError.h"
#include "logdb/MdbLog.h"

namespace corvale {
namespace {

using test::Fixture;

TEST(DatabaseVersion, VersionRuleIsCAtoiEqualsSix) {
    for (const char* text : {"6", "06", " 6", "6.1", "+6", "\t6", "6 ", "6A", "0006"})
        EXPECT_TRUE(IsSupportedDatabaseVersion(text)) << '"' << text << '"';
    for (const char* text : {"60", "7", "", "A6", "-6", " ", "5", "16", "4294967302", "+-6"})
        EXPECT_FALSE(IsSupportedDatabaseVersion(text)) << '"' << text << '"';
    EXPECT_TRUE(
        IsSupportedDatabaseVersion(std::string_view("6\0"
                                                    "0",
                                                    3)));
}

TEST(DatabaseVersion, FixturesAreReadAndChecked) {
    for (const test::Case& c : test::ReadCases("logdb/cases/database-version.tsv")) {
        SCOPED_TRACE(c.name);
        const std::string path = Fixture(c.name);
        if (c[0].starts_with('!'))
            test::ExpectHolds(test::DbErrorOf([&] { ReadDatabaseVersion(path); }),
                              {path, c[0].substr(1)});
        else
            EXPECT_EQ(ReadDatabaseVersion(path), c[0]);
        if (c[1] == "throws")
            EXPECT_THROW(CheckDatabaseVersion(path), DbError);
        else
            EXPECT_EQ(CheckDatabaseVersion(path), c[1] == "supported");
    }
}

TEST(DatabaseVersion, DecimalColumnsReadAsTheirDecimalText) {
    struct DecimalCase {
        const char* name;
        std::vector<unsigned char> bytes;
        int scale;
        const char* text;
    };
    const auto value = [](unsigned char sign, std::uint32_t high, std::uint32_t low) {
        std::vector<unsigned char> bytes(17, 0);
        bytes[0] = sign;
        for (int i = 0; i < 4; ++i) {
            bytes[9 + i] = static_cast<unsigned char>(high >> (8 * i));
            bytes[13 + i] = static_cast<unsigned char>(low >> (8 * i));
        }
        return bytes;
    };
    for (const DecimalCase& c : std::vector<DecimalCase>{
             {"Six", value(0, 0, 6), 0, "6"},
             {"SixWithTwoDecimals", value(0, 0, 600), 2, "6"},
             {"SixAndAHalf", value(0, 0, 65), 1, "6.5"},
             {"NegativeFraction", value(0x80, 0, 25), 2, "-0.25"},
             {"Zero", value(0x80, 0, 0), 3, "0"},
             {"BeyondThirtyTwoBits", value(0, 1, 0), 0, "4294967296"},
             {"LargeWithScale", value(0, 0, 4294967295u), 4, "429496.7295"},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(logdb_detail::DecimalText(c.bytes.data(), c.scale), c.text);
    }
}

}  // namespace
}  // namespace corvale
