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

constexpr char kCases[] = "logdb/cases/database-version.tsv";

TEST(DatabaseVersion, VersionRuleIsCAtoiEqualsSix) {
    for (const test::Case& c : test::ReadCases(kCases, "rule"))
        EXPECT_EQ(IsSupportedDatabaseVersion(c.name), c[0] == "supported") << '"' << c.name << '"';
}

TEST(DatabaseVersion, FixturesAreReadAndChecked) {
    for (const test::Case& c : test::ReadCases(kCases, "fixture")) {
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
    for (const test::Case& c : test::ReadCases(kCases, "decimal")) {
        std::vector<unsigned char> bytes(17, 0);
        bytes[0] = static_cast<unsigned char>(std::stoul(c[0], nullptr, 16));
        for (int i = 0; i < 4; ++i) {
            bytes[9 + i] = static_cast<unsigned char>(std::stoul(c[1]) >> (8 * i));
            bytes[13 + i] = static_cast<unsigned char>(std::stoul(c[2]) >> (8 * i));
        }
        EXPECT_EQ(logdb_detail::DecimalText(bytes.data(), std::stoi(c[3])), c[4]) << c.name;
    }
}

}  // namespace
}  // namespace corvale
