// Reading fixtures back: every column of every row as the fixture's .tsv has it.

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
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

TEST(QsoTableRead, LargeLogMatchesItsTsv) {
    const std::string mdb = CORVALE_LARGE_LOG;
    const std::string tsvGz = mdb.substr(0, mdb.rfind('.')) + ".tsv.gz";
    if (!std::filesystem::exists(mdb) || !std::filesystem::exists(tsvGz))
        GTEST_SKIP() << "no " << mdb << " with its .tsv.gz";
    const auto table = QsoTable::Read(mdb, QsoColumnSet::All());
    ASSERT_EQ(table->RowCount(), 200000u);
    const test::Tsv tsv = test::ReadTsvGz(tsvGz);
    const std::vector<std::string> differences = test::CompareWithTsv(*table, tsv);
    EXPECT_TRUE(differences.empty()) << ::testing::PrintToString(differences);
}

TEST(QsoTableRead, LongEditedLogMatchesItsTsv) {
    const std::string mdb = CORVALE_LIVED_IN_LOG;
    const std::string tsv = mdb.substr(0, mdb.rfind('.')) + ".tsv";
    if (!std::filesystem::exists(mdb) || !std::filesystem::exists(tsv))
        GTEST_SKIP() << "no " << mdb << " with its .tsv";
    const auto table = QsoTable::Read(mdb, QsoColumnSet::All());
    ASSERT_EQ(table->RowCount(), 3043u);  // libmdb's own walk finds 4,662
    EXPECT_TRUE(table->Warnings().empty());
    const std::vector<std::string> differences = test::CompareWithTsv(*table, test::ReadTsv(tsv));
    EXPECT_TRUE(differences.empty()) << ::testing::PrintToString(differences);
}

TEST(QsoTableRead, EmptyLogHasNoRows) {
    const auto table = QsoTable::Read(Fixture("empty-log.mdb"), kRunColumns);
    EXPECT_EQ(table->RowCount(), 0u);
    EXPECT_THROW(table->Text(0, QsoColumn::Date), std::out_of_range);
}

TEST(QsoTableRead, MemosLongerThan255CharactersAreReadWhole) {
    const auto table = QsoTable::Read(Fixture("sample-log.mdb"), {QsoColumn::Note});
    std::size_t longest = 0, over255 = 0;
    for (std::size_t r = 0; r < table->RowCount(); ++r) {
        const std::size_t length = table->Text(r, QsoColumn::Note).size();
        longest = std::max(longest, length);
        if (length > 255)
            ++over255;
    }
    EXPECT_GT(longest, 1000u);
    EXPECT_GT(over255, 50u);
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
    struct SubsetCase {
        const char* log;
        QsoColumnSet columns;
    };
    const std::vector<SubsetCase> cases{
        {"sample-log.mdb", kRunColumns},
        {"lived-in/livedin-s5-light.mdb", kRunColumns},
        {"sample-log.mdb", {QsoColumn::Note, QsoColumn::Call}},
    };
    for (const SubsetCase& c : cases) {
        SCOPED_TRACE(c.log);
        const auto all = QsoTable::Read(Fixture(c.log), QsoColumnSet::All());
        const auto some = QsoTable::Read(Fixture(c.log), c.columns);
        ASSERT_EQ(some->RowCount(), all->RowCount());
        EXPECT_EQ(some->Columns(), c.columns);
        for (std::size_t r = 0; r < some->RowCount(); ++r) {
            for (std::size_t k = 0; k < kQsoColumnCount; ++k) {
                const auto column = static_cast<QsoColumn>(k);
                if (c.columns.Has(column)) {
                    ASSERT_EQ(some->Text(r, column), all->Text(r, column));
                    ASSERT_EQ(some->Long(r, column), all->Long(r, column));
                } else {
                    ASSERT_EQ(some->Text(r, column), "");
                    ASSERT_EQ(some->Long(r, column), 0);
                    ASSERT_EQ(some->TextRank(r, column), 0u);
                }
            }
        }
    }
}

TEST(QsoTableRead, ProgressCountsUpToTheRowCount) {
    std::vector<std::size_t> seen;
    const auto table =
        QsoTable::Read(Fixture("sample-log.mdb"), kRunColumns, [&](std::size_t rows) {
            seen.push_back(rows);
            return true;
        });
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), table->RowCount());
}

TEST(QsoTableRead, ProgressCanStopTheRead) {
    const std::string path = Fixture("sample-log.mdb");
    try {
        QsoTable::Read(path, kRunColumns, [](std::size_t) { return false; });
        FAIL() << "no DbError";
    } catch (const DbError& error) {
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("cancelled"), std::string::npos) << error.what();
    }
}

// Run as root, the folder's permission bits do not stop a lock file from appearing beside the
// log; LogFaults.LogIsNeverTouched, whose folder is a read-only mount, cannot see one.
TEST(QsoTableRead, ReadsAReadOnlyFileInAReadOnlyFolderAndLeavesItAlone) {
    test::TempFolder dir;
    const std::string path = dir.File("log.mdb");
    std::filesystem::copy_file(Fixture("sample-log.mdb"), path);
    ::chmod(path.c_str(), 0444);
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    ::chmod(dir.Path().c_str(), 0555);

    const auto table = QsoTable::Read(path, QsoColumnSet::All());
    EXPECT_EQ(table->RowCount(), 5000u);

    ::chmod(dir.Path().c_str(), 0755);
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(test::ReadFile(path), test::ReadFile(Fixture("sample-log.mdb")));
    // No lock file or anything else next to it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(QsoTableRead, ReadsOnSeveralThreadsAtOnce) {
    const auto expected = QsoTable::Read(Fixture("sample-log.mdb"), QsoColumnSet::All());
    std::atomic<int> mismatches{0}, failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            try {
                // Failing reads on the way, too: libmdb's messages must stay quiet either way.
                if (t % 2 == 1) {
                    try {
                        QsoTable::Read(Fixture("no-qso-tab.mdb"), QsoColumnSet::All());
                    } catch (const DbError&) {
                    }
                }
                const auto table = QsoTable::Read(Fixture("sample-log.mdb"), QsoColumnSet::All());
                for (std::size_t r = 0; r < table->RowCount(); ++r) {
                    for (std::size_t c = 0; c < kQsoColumnCount; ++c) {
                        const auto column = static_cast<QsoColumn>(c);
                        if (table->Text(r, column) != expected->Text(r, column) ||
                            table->Long(r, column) != expected->Long(r, column))
                            ++mismatches;
                    }
                }
            } catch (...) {
                ++failures;
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
}  // namespace corvale
