#include <gtest/gtest.h>

#include "LogdbTestSupport.h"
#include "logdb/DatabaseVersion.h"
#include "logdb/DbError.h"

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

struct VersionFixture {
    const char* fixture;
    const char* text;
    bool supported;
};

class VersionFixtures : public ::testing::TestWithParam<VersionFixture> {};

TEST_P(VersionFixtures, ReadAndChecked) {
    const std::string path = Fixture(GetParam().fixture);
    EXPECT_EQ(ReadDatabaseVersion(path), GetParam().text);
    EXPECT_EQ(CheckDatabaseVersion(path), GetParam().supported);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, VersionFixtures,
                         ::testing::Values(VersionFixture{"sample-log.mdb", "6", true},
                                           VersionFixture{"sample-log-v2003.mdb", "6", true},
                                           VersionFixture{"empty-log.mdb", "6", true},
                                           VersionFixture{"no-qso-tab.mdb", "6", true},
                                           VersionFixture{"version-7.mdb", "7", false},
                                           VersionFixture{"version-06.mdb", "06", true},
                                           VersionFixture{"version-blank6.mdb", " 6", true},
                                           VersionFixture{"version-6.1.mdb", "6.1", true},
                                           VersionFixture{"version-60.mdb", "60", false},
                                           VersionFixture{"version-empty.mdb", "", false},
                                           VersionFixture{"version-letter.mdb", "A6", false}),
                         [](const auto& param) {
                             std::string name = param.param.fixture;
                             name = name.substr(0, name.size() - 4);
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

std::string VersionError(const std::string& path) {
    try {
        ReadDatabaseVersion(path);
    } catch (const DbError& error) {
        return error.what();
    }
    ADD_FAILURE() << "no DbError for " << path;
    return {};
}

TEST(DatabaseVersion, NoVersionTable) {
    const std::string path = Fixture("no-version-table.mdb");
    const std::string message = VersionError(path);
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find("no table [VERSION]"), std::string::npos) << message;
    EXPECT_FALSE(CheckDatabaseVersion(path));
}

TEST(DatabaseVersion, VersionTableWithoutARow) {
    const std::string path = Fixture("version-no-rows.mdb");
    const std::string message = VersionError(path);
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find("[VERSION] has no row"), std::string::npos) << message;
    EXPECT_FALSE(CheckDatabaseVersion(path));
}

TEST(DatabaseVersion, UnreadableFilesThrowFromTheCheckToo) {
    for (const char* name : {"zero.mdb", "garbage.mdb", "truncated.mdb", "no-such-file.mdb"}) {
        const std::string path = Fixture(name);
        EXPECT_NE(VersionError(path).find(path), std::string::npos);
        EXPECT_THROW(CheckDatabaseVersion(path), DbError) << name;
    }
}

}  // namespace
}  // namespace corvale
