// Every file that cannot be read is refused with one sentence that names the file and what is
// wrong with it; libmdb's own messages never reach the user. Files that Access reads, whatever
// their header says, are read (cases/log-files.tsv).

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "CaseFile.h"
#include "LogdbTestSupport.h"
#include "logdb/DatabaseVersion.h"
#include "logdb/DbError.h"
#include "logdb/MdbLog.h"
#include "logdb/QsoTable.h"

namespace corvale {
namespace {

using test::Fixture;

std::string ReadError(const std::string& path, QsoColumnSet columns = QsoColumnSet::All()) {
    return test::DbErrorOf([&] { QsoTable::Read(path, columns); });
}

// The read of `path` is refused with one sentence that names the file and holds every one of
// `reasonWords`, and nothing reaches standard error.
void ExpectRefused(const std::string& path, const std::vector<std::string>& reasonWords,
                   QsoColumnSet columns = QsoColumnSet::All()) {
    ::testing::internal::CaptureStderr();
    const std::string message = ReadError(path, columns);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    test::ExpectHolds(message, {"\"" + path + "\""});
    test::ExpectHolds(message, reasonWords);
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    ASSERT_FALSE(message.empty());
    EXPECT_EQ(message.back(), '.') << message;
}

constexpr std::size_t kPage = 4096;  // sample-log is Jet 4

// The file that a case of cases/log-files.tsv names, made in `dir`.
std::string LogFile(const test::TempFolder& dir, const std::string& changes) {
    if (changes.starts_with("fixture:"))
        return Fixture(changes.substr(8));
    if (changes == "folder")
        return dir.Path().string();
    if (changes == "fifo") {
        EXPECT_EQ(::mkfifo(dir.File("pipe.mdb").c_str(), 0600), 0);
        return dir.File("pipe.mdb");
    }
    std::string bytes = test::ReadFile(Fixture("sample-log.mdb"));
    for (const std::string& change : test::Split(changes, ' ')) {
        const std::string what = change.substr(0, change.find(':'));
        const std::string value = change.substr(what.size() + 1);
        if (what == "size") {
            bytes.resize(std::stoul(value));
        } else if (what == "zero") {
            std::fill_n(bytes.begin() + std::stoul(value) * kPage, kPage, '\0');
        } else if (what == "encrypt") {
            for (std::size_t page = 1; page * kPage < bytes.size(); ++page) {
                const auto key = static_cast<std::uint32_t>(std::stoul(value, nullptr, 16) ^ page);
                const unsigned char keyBytes[] = {
                    static_cast<unsigned char>(key), static_cast<unsigned char>(key >> 8),
                    static_cast<unsigned char>(key >> 16), static_cast<unsigned char>(key >> 24)};
                logdb_detail::Rc4(keyBytes, 4,
                                  reinterpret_cast<unsigned char*>(&bytes[page * kPage]), kPage);
            }
        } else {
            for (std::size_t i = 0; i < value.size(); i += 2)
                bytes[std::stoul(what) + i / 2] =
                    static_cast<char>(std::stoi(value.substr(i, 2), nullptr, 16));
        }
    }
    const std::string path = dir.File("damaged.mdb");
    test::WriteFile(path, bytes);
    return path;
}

TEST(QsoTableFailure, FilesAreReadAsAccessReadsThemOrRefusedInWords) {
    const auto expected = QsoTable::Read(Fixture("sample-log.mdb"), QsoColumnSet::All());
    for (const test::Case& c : test::ReadCases("logdb/cases/log-files.tsv")) {
        SCOPED_TRACE(c.name);
        const test::TempFolder dir;
        const std::string path = LogFile(dir, c[0]);
        QsoColumnSet columns = c[1] == "all" ? QsoColumnSet::All() : QsoColumnSet{};
        for (const std::string& name :
             c[1] == "all" ? std::vector<std::string>{} : test::Split(c[1]))
            columns.Add(test::ColumnNamed(name));
        if (c[2].starts_with('!')) {
            ExpectRefused(path, test::Split(c[2].substr(1)), columns);
            continue;
        }
        const auto table = QsoTable::Read(path, columns);
        ASSERT_EQ(table->RowCount(), expected->RowCount());
        for (std::size_t r = 0; r < table->RowCount() && columns == QsoColumnSet::All(); r += 97) {
            ASSERT_EQ(table->Text(r, QsoColumn::Note), expected->Text(r, QsoColumn::Note));
            ASSERT_EQ(table->Long(r, QsoColumn::Number), expected->Long(r, QsoColumn::Number));
        }
        EXPECT_TRUE(CheckDatabaseVersion(path));
        if (c[2].empty()) {
            EXPECT_TRUE(table->Warnings().empty()) << ::testing::PrintToString(table->Warnings());
            continue;
        }
        ASSERT_EQ(table->Warnings().size(), 1u);
        test::ExpectHolds(table->Warnings().front(), {c[2], path, "compact and repair"});
    }
}

TEST(QsoTableFailure, UnreadableFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    test::TempFolder dir;
    const std::string path = dir.File("log.mdb");
    std::filesystem::copy_file(Fixture("sample-log.mdb"), path);
    ::chmod(path.c_str(), 0);
    ExpectRefused(path, {"permission"});
}

TEST(QsoTableFailure, NoFileName) {
    EXPECT_NE(ReadError("").find("no file name"), std::string::npos);
}

TEST(QsoTableFailure, StandardErrorWorksAgainAfterAFailedRead) {
    (void)ReadError(Fixture("truncated.mdb"));
    ::testing::internal::CaptureStderr();
    std::fprintf(stderr, "still here\n");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "still here\n");
}

}  // namespace
}  // namespace corvale
