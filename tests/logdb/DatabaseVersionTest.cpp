#include <gtest/gtest.h>

#include <vector>

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
    struct VersionFixture {
        const char* fixture;
        const char* text;
        bool supported;
    };
    for (const VersionFixture& c :
         std::vector<VersionFixture>{{"sample-log.mdb", "6", true},
                                     {"sample-log-v2003.mdb", "6", true},
                                     {"empty-log.mdb", "6", true},
                                     {"no-qso-tab.mdb", "6", true},
                                     {"version-7.mdb", "7", false},
                                     {"version-06.mdb", "06", true},
                                     {"version-blank6.mdb", " 6", true},
                                     {"version-6.1.mdb", "6.1", true},
                                     {"version-60.mdb", "60", false},
                                     {"version-empty.mdb", "", false},
                                     {"version-letter.mdb", "A6", false},
                                     // [VERSION] edited from 5 to 6: the old copy is stale.
                                     {"lived-in/min-version.mdb", "6", true}}) {
        SCOPED_TRACE(c.fixture);
        const std::string path = Fixture(c.fixture);
        EXPECT_EQ(ReadDatabaseVersion(path), c.text);
        EXPECT_EQ(CheckDatabaseVersion(path), c.supported);
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

std::string VersionError(const std::string& path) {
    try {
        ReadDatabaseVersion(path);
    } catch (const DbError& error) {
        return error.what();
    }
    ADD_FAILURE() << "no DbError for " << path;
    return {};
}

// A file without a readable version: the read names the file (and the reason, when it is a
// log at all); the check says "not supported" for a log and throws for a file that is none.
struct NoVersion {
    const char* fixture;
    const char* reason;  // nullptr: only the file is named
    bool checkThrows;
};

TEST(DatabaseVersion, FilesWithoutAReadableVersion) {
    for (const NoVersion& c :
         std::vector<NoVersion>{{"no-version-table.mdb", "no table [VERSION]", false},
                                {"version-no-rows.mdb", "[VERSION] has no row", false},
                                {"zero.mdb", nullptr, true},
                                {"garbage.mdb", nullptr, true},
                                {"truncated.mdb", nullptr, true},
                                {"no-such-file.mdb", nullptr, true}}) {
        SCOPED_TRACE(c.fixture);
        const std::string path = Fixture(c.fixture);
        const std::string message = VersionError(path);
        EXPECT_NE(message.find(path), std::string::npos) << message;
        if (c.reason != nullptr) {
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        }
        if (c.checkThrows) {
            EXPECT_THROW(CheckDatabaseVersion(path), DbError);
        } else {
            EXPECT_FALSE(CheckDatabaseVersion(path));
        }
    }
}

}  // namespace
}  // namespace corvale
