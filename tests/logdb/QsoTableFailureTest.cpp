// Every file that cannot be read is refused with one sentence that names the file and what is
// wrong with it; libmdb's own messages never reach the user.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "LogdbTestSupport.h"
#include "logdb/DatabaseVersion.h"
#include "logdb/DbError.h"
#include "logdb/QsoTable.h"

namespace corvale {
namespace {

using test::Fixture;

// Reads `path` expecting a DbError; returns its message.
std::string ReadError(const std::string& path, QsoColumnSet columns = QsoColumnSet::All()) {
    try {
        QsoTable::Read(path, columns);
    } catch (const DbError& error) {
        return error.what();
    }
    ADD_FAILURE() << "no DbError for " << path;
    return {};
}

// One sentence that names the file and says what is wrong with it.
void ExpectClearMessage(const std::string& message, const std::string& path,
                        const std::string& reasonWord) {
    EXPECT_NE(message.find("\"" + path + "\""), std::string::npos) << message;
    EXPECT_NE(message.find(reasonWord), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    ASSERT_FALSE(message.empty());
    EXPECT_EQ(message.back(), '.') << message;
}

struct BadFile {
    const char* fixture;
    const char* reasonWord;
};

class BadFixture : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadFixture, IsRefusedWithAClearMessage) {
    const std::string path = Fixture(GetParam().fixture);
    ExpectClearMessage(ReadError(path), path, GetParam().reasonWord);
}

TEST_P(BadFixture, IsRefusedWithoutAWordFromLibmdb) {
    const std::string path = Fixture(GetParam().fixture);
    ::testing::internal::CaptureStderr();
    (void)ReadError(path);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

INSTANTIATE_TEST_SUITE_P(Fixtures, BadFixture,
                         ::testing::Values(BadFile{"zero.mdb", "empty"},
                                           BadFile{"garbage.mdb", "not an Access database"},
                                           BadFile{"truncated.mdb", "truncated"},
                                           BadFile{"no-qso-tab.mdb", "no table [QSO-TAB]"},
                                           BadFile{"Refdata.mdb", "no table [QSO-TAB]"}),
                         [](const auto& param) {
                             std::string name = param.param.fixture;
                             return name.substr(0, name.find_first_of("-."));
                         });

TEST(QsoTableFailure, MissingFile) {
    const std::string path = Fixture("no-such-log.mdb");
    ExpectClearMessage(ReadError(path), path, "does not exist");
}

TEST(QsoTableFailure, MissingFolderOnTheWay) {
    const std::string path = Fixture("sample-log.mdb/log.mdb");
    ExpectClearMessage(ReadError(path), path, "does not exist");
}

TEST(QsoTableFailure, Folder) {
    test::TempFolder dir;
    const std::string path = dir.Path().string();
    ExpectClearMessage(ReadError(path), path, "folder");
}

TEST(QsoTableFailure, NoFileName) {
    try {
        QsoTable::Read("", QsoColumnSet::All());
        FAIL() << "no DbError";
    } catch (const DbError& error) {
        EXPECT_NE(std::string(error.what()).find("no file name"), std::string::npos);
    }
}

TEST(QsoTableFailure, FifoIsRefusedWithoutWaiting) {
    test::TempFolder dir;
    const std::string path = dir.File("pipe.mdb");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    ExpectClearMessage(ReadError(path), path, "not a regular file");
}

TEST(QsoTableFailure, UnreadableFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    test::TempFolder dir;
    const std::string path = dir.File("log.mdb");
    std::filesystem::copy_file(Fixture("sample-log.mdb"), path);
    ::chmod(path.c_str(), 0);
    ExpectClearMessage(ReadError(path), path, "permission");
}

// ---------------------------------------------------------------------------------------------
// Damaged copies of sample-log.
// ---------------------------------------------------------------------------------------------

constexpr std::size_t kPage = 4096;  // sample-log is Jet 4

std::string Utf16(std::string_view ascii) {
    std::string bytes;
    for (char c : ascii) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

unsigned Word(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

// The offset of the table definition page of [QSO-TAB] in a Jet 4 file: the definition page
// (type 0x02) that holds the column names.
std::size_t QsoTabDefinition(const std::string& bytes) {
    const std::string name = Utf16("QSO-SATMODE");
    for (std::size_t page = 0; page + kPage <= bytes.size(); page += kPage) {
        if (bytes[page] == 0x02 &&
            std::string_view(bytes).substr(page, kPage).find(name) != std::string_view::npos)
            return page;
    }
    ADD_FAILURE() << "no definition page of [QSO-TAB]";
    return 0;
}

// Sets the type of the column numbered `number` (0-based, table order) in the definition page
// of [QSO-TAB]: Jet 4 column entries of 25 bytes (type at 0, column number at 5) follow the
// 63-byte header and 12 bytes per real index.
void SetColumnType(std::string& bytes, unsigned number, unsigned char type) {
    const std::size_t page = QsoTabDefinition(bytes);
    const unsigned columns = Word(bytes, page + 45);
    const unsigned realIndexes = Word(bytes, page + 51);
    for (unsigned k = 0; k < columns; ++k) {
        const std::size_t entry = page + 63 + realIndexes * 12 + k * 25;
        if (Word(bytes, entry + 5) == number) {
            bytes[entry] = static_cast<char>(type);
            return;
        }
    }
    ADD_FAILURE() << "no column " << number;
}

std::string DamagedCopy(const test::TempFolder& dir, const std::string& bytes) {
    const std::string path = dir.File("damaged.mdb");
    test::WriteFile(path, bytes);
    return path;
}

TEST(QsoTableFailure, MissingColumn) {
    test::TempFolder dir;
    std::string bytes = test::ReadFile(Fixture("sample-log.mdb"));
    const std::size_t page = QsoTabDefinition(bytes);
    const std::size_t at = bytes.find(Utf16("QSO-GRID"), page);
    ASSERT_LT(at, page + kPage);
    bytes.replace(at, 16, Utf16("QSO-GRIX"));
    const std::string path = DamagedCopy(dir, bytes);

    ExpectClearMessage(ReadError(path), path, "no column [QSO-GRID]");
    // A read that does not ask for the column does not miss it.
    EXPECT_EQ(QsoTable::Read(path, {QsoColumn::Date, QsoColumn::Valid})->RowCount(), 5000u);
}

TEST(QsoTableFailure, LongColumnOfAnotherType) {
    test::TempFolder dir;
    std::string bytes = test::ReadFile(Fixture("sample-log.mdb"));
    SetColumnType(bytes, 28, 0x0A);  // [QSO-VALID] made Text
    const std::string path = DamagedCopy(dir, bytes);
    const std::string message = ReadError(path);
    ExpectClearMessage(message, path, "[QSO-VALID]");
    EXPECT_NE(message.find("type Text, not Long Integer"), std::string::npos) << message;
}

TEST(QsoTableFailure, TextColumnOfAnotherType) {
    test::TempFolder dir;
    std::string bytes = test::ReadFile(Fixture("sample-log.mdb"));
    SetColumnType(bytes, 14, 0x07);  // [QSO-BAND] made Double
    const std::string path = DamagedCopy(dir, bytes);
    const std::string message = ReadError(path, {QsoColumn::Band});
    ExpectClearMessage(message, path, "[QSO-BAND]");
    EXPECT_NE(message.find("type Double, not Text"), std::string::npos) << message;
}

TEST(QsoTableFailure, TruncatedInTheMiddle) {
    test::TempFolder dir;
    const std::string bytes = test::ReadFile(Fixture("sample-log.mdb"));
    for (std::size_t pages : {3u, 10u, 100u, 200u, 300u}) {
        SCOPED_TRACE(pages);
        const std::string path = DamagedCopy(dir, bytes.substr(0, pages * kPage));
        ::testing::internal::CaptureStderr();
        ExpectClearMessage(ReadError(path), path, "truncated");
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    }
}

TEST(QsoTableFailure, NotAWholeNumberOfPages) {
    test::TempFolder dir;
    const std::string bytes = test::ReadFile(Fixture("sample-log.mdb"));
    const std::string path = DamagedCopy(dir, bytes.substr(0, bytes.size() - 100));
    ExpectClearMessage(ReadError(path), path, "truncated or damaged");
}

TEST(QsoTableFailure, CatalogPageDestroyed) {
    test::TempFolder dir;
    std::string bytes = test::ReadFile(Fixture("sample-log.mdb"));
    std::fill(bytes.begin() + 2 * kPage, bytes.begin() + 3 * kPage, '\0');
    const std::string path = DamagedCopy(dir, bytes);
    ::testing::internal::CaptureStderr();
    ExpectClearMessage(ReadError(path), path, "damaged");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(QsoTableFailure, UnknownFileVersion) {
    test::TempFolder dir;
    std::string bytes = test::ReadFile(Fixture("sample-log.mdb"));
    bytes[0x14] = 9;
    const std::string path = DamagedCopy(dir, bytes);
    ExpectClearMessage(ReadError(path), path, "unknown version");
}

TEST(QsoTableFailure, StandardErrorWorksAgainAfterAFailedRead) {
    (void)ReadError(Fixture("truncated.mdb"));
    ::testing::internal::CaptureStderr();
    std::fprintf(stderr, "still here\n");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "still here\n");
}

}  // namespace
}  // namespace corvale
