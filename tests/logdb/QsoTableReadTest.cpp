// Reading fixtures back: every column of every row as the fixture's .tsv has it.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "LogdbTestSupport.h"
#include "logdb/DbError.h"
#include "logdb/QsoTable.h"

namespace corvale {
namespace {

using test::Fixture;

const QsoColumnSet kRunColumns{QsoColumn::Date,    QsoColumn::Prefix, QsoColumn::Band,
                               QsoColumn::State,   QsoColumn::Iota,   QsoColumn::Grid,
                               QsoColumn::Confirm, QsoColumn::Valid,  QsoColumn::Sat};

class FixtureMatchesTsv : public ::testing::TestWithParam<std::string> {};

TEST_P(FixtureMatchesTsv, AllColumnsReadBackAsInTheTsv) {
    const std::string name = GetParam();
    const auto table = QsoTable::Read(Fixture(name + ".mdb"), QsoColumnSet::All());
    EXPECT_EQ(table->Columns(), QsoColumnSet::All());
    const test::Tsv tsv = test::ReadTsv(Fixture(name + ".tsv"));
    const std::vector<std::string> differences = test::CompareWithTsv(*table, tsv);
    EXPECT_TRUE(differences.empty()) << ::testing::PrintToString(differences);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, FixtureMatchesTsv,
    ::testing::Values("sample-log", "sample-log-v2003", "demo-log", "empty-log", "no-version-table",
                      "version-06", "version-6.1", "version-60", "version-7", "version-blank6",
                      "version-empty", "version-letter", "version-no-rows",
                      // Edited logs: moved rows, deleted rows, stale copies.
                      "lived-in/min-deleted", "lived-in/min-stale", "lived-in/min-order",
                      "lived-in/min-version", "lived-in/livedin-s5-light"),
    [](const auto& param) {
        std::string name = param.param;
        std::replace_if(
            name.begin(), name.end(),
            [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        return name;
    });

// A log that does not ship with the tests, compared where it is found: the large log (its .tsv
// gzipped) and a log edited for years (libmdb's own walk finds 4,662 rows in it). Plain tests,
// so that the longest of all starts first.
void ExpectOutsideLogMatchesTsv(const std::string& mdb, std::size_t rows) {
    const std::string base = mdb.substr(0, mdb.rfind('.'));
    const bool gzipped = std::filesystem::exists(base + ".tsv.gz");
    if (!std::filesystem::exists(mdb) || !(gzipped || std::filesystem::exists(base + ".tsv")))
        GTEST_SKIP() << "no " << mdb << " with its .tsv";
    const auto table = QsoTable::Read(mdb, QsoColumnSet::All());
    ASSERT_EQ(table->RowCount(), rows);
    EXPECT_TRUE(table->Warnings().empty());
    const test::Tsv tsv =
        gzipped ? test::ReadTsvGz(base + ".tsv.gz") : test::ReadTsv(base + ".tsv");
    const std::vector<std::string> differences = test::CompareWithTsv(*table, tsv);
    EXPECT_TRUE(differences.empty()) << ::testing::PrintToString(differences);
}

TEST(QsoTableRead, LargeLogMatchesItsTsv) {
    ExpectOutsideLogMatchesTsv(CORVALE_LARGE_LOG, 200000);
}

TEST(QsoTableRead, LongEditedLogMatchesItsTsv) {
    ExpectOutsideLogMatchesTsv(CORVALE_LIVED_IN_LOG, 3043);
}

TEST(QsoTableRead, TextStaysUtf8WhateverMdbIconvSays) {
    // libmdb converts text into the charset that $MDBICONV names.
    for (const char* charset : {static_cast<const char*>(nullptr), "ISO-8859-1"}) {
        SCOPED_TRACE(charset == nullptr ? "MDBICONV unset" : charset);
        if (charset != nullptr)
            ::setenv("MDBICONV", charset, 1);
        const auto table = QsoTable::Read(Fixture("sample-log.mdb"), {QsoColumn::Name});
        ::unsetenv("MDBICONV");
        bool found = false;
        for (std::size_t r = 0; r < table->RowCount() && !found; ++r)
            found = table->Text(r, QsoColumn::Name) == "J\xC3\xBCrgen";  // Jürgen
        EXPECT_TRUE(found);
    }
}

// Only the columns asked for are decoded: they read as when all are read (also in an edited
// log, whose moved rows are decoded where they now lie), the others read "" and 0.
TEST(QsoTableRead, ColumnsNotAskedForReadEmptyAndZero) {
    for (const auto& [log, columns] : std::vector<std::pair<const char*, QsoColumnSet>>{
             {"sample-log.mdb", kRunColumns},
             {"lived-in/livedin-s5-light.mdb", kRunColumns},
             {"sample-log.mdb", {QsoColumn::Note, QsoColumn::Call}}}) {
        SCOPED_TRACE(log);
        const auto all = QsoTable::Read(Fixture(log), QsoColumnSet::All());
        const auto some = QsoTable::Read(Fixture(log), columns);
        ASSERT_EQ(some->RowCount(), all->RowCount());
        EXPECT_EQ(some->Columns(), columns);
        for (std::size_t r = 0; r < some->RowCount(); ++r) {
            for (std::size_t k = 0; k < kQsoColumnCount; ++k) {
                const auto column = static_cast<QsoColumn>(k);
                const bool read = columns.Has(column);
                ASSERT_EQ(some->Text(r, column), read ? all->Text(r, column) : "");
                ASSERT_EQ(some->Long(r, column), read ? all->Long(r, column) : 0);
            }
        }
    }
}

// Progress counts up to the row count; a progress that answers false stops the read.
TEST(QsoTableRead, ProgressCountsUpAndCanStopTheRead) {
    const std::string path = Fixture("sample-log.mdb");
    std::vector<std::size_t> seen;
    const auto table = QsoTable::Read(path, kRunColumns, [&](std::size_t rows) {
        seen.push_back(rows);
        return true;
    });
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), table->RowCount());
    test::ExpectHolds(test::DbErrorOf([&] {
                          QsoTable::Read(path, kRunColumns, [](std::size_t) { return false; });
                      }),
                      {path, "cancelled"});
}

TEST(QsoTableRead, ReadsOnSeveralThreadsAtOnce) {
    const test::Tsv tsv = test::ReadTsv(Fixture("sample-log.tsv"));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            // Failing reads on the way, too: libmdb's messages must stay quiet either way.
            if (t % 2 == 1)
                test::DbErrorOf(
                    [] { QsoTable::Read(Fixture("no-qso-tab.mdb"), QsoColumnSet::All()); });
            const auto table = QsoTable::Read(Fixture("sample-log.mdb"), QsoColumnSet::All());
            EXPECT_TRUE(test::CompareWithTsv(*table, tsv).empty());
        });
    }
    for (auto& thread : threads)
        thread.join();
}

}  // namespace
}  // namespace corvale
