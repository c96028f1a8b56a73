// Every file that cannot be read is refused with one sentence that names the file and what is
// wrong with it; libmdb's own messages never reach the user. Files that Access reads, whatever
// their header says, are read.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <vector>

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

std::string Utf16(std::string_view ascii) {
    std::string bytes;
    for (char c : ascii) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

constexpr std::size_t kScrambledStart = 0x18;
constexpr std::size_t kScrambledSize = 128;

// Access's RC4 over a run of the file's bytes.
void Rc4(const unsigned char* key, std::size_t keySize, char* bytes, std::size_t size) {
    logdb_detail::Rc4(key, keySize, reinterpret_cast<unsigned char*>(bytes), size);
}

// Changes the header's scrambled part (0x18 on) as `edit` says, in the clear.
void EditScrambledHeader(std::string& bytes, const std::function<void(std::string&)>& edit) {
    const unsigned char headerKey[] = {0xC7, 0xDA, 0x39, 0x6B};
    Rc4(headerKey, 4, bytes.data() + kScrambledStart, kScrambledSize);
    edit(bytes);
    Rc4(headerKey, 4, bytes.data() + kScrambledStart, kScrambledSize);
}

// Encrypts every page after the first as Jet 4 does (RC4 keyed by the encoding key XOR the page
// number) and stores the key in the header.
void EncryptAsJet4(std::string& bytes, std::uint32_t encodingKey) {
    EditScrambledHeader(bytes, [&](std::string& b) { Put32(b, 0x3E, encodingKey); });
    for (std::size_t page = 1; page * kPage < bytes.size(); ++page) {
        const std::uint32_t key = encodingKey ^ static_cast<std::uint32_t>(page);
        const unsigned char keyBytes[] = {
            static_cast<unsigned char>(key), static_cast<unsigned char>(key >> 8),
            static_cast<unsigned char>(key >> 16), static_cast<unsigned char>(key >> 24)};
        Rc4(keyBytes, 4, bytes.data() + page * kPage, kPage);
    }
}

// Sets the row count stored in the definition of [QSO-TAB] (page 24 of sample-log; Jet 4 keeps
// it at byte 16 of the definition).
void SetStoredRowCount(std::string& bytes, std::uint32_t rows) {
    ASSERT_EQ(bytes[24 * kPage], 0x02);
    Put32(bytes, 24 * kPage + 16, rows);
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

// Renames [QSO-GRID] to [QSO-GRIX] in the definition page.
void RenameGrid(std::string& bytes) {
    const std::size_t page = QsoTabDefinition(bytes);
    const std::size_t at = bytes.find(Utf16("QSO-GRID"), page);
    ASSERT_LT(at, page + kPage);
    bytes.replace(at, 16, Utf16("QSO-GRIX"));
}

// A file that cannot be read as a log: made in `dir`, refused with every one of `reasonWords`
// when `columns` are asked for.
struct BadFile {
    const char* name;
    std::function<std::string(const test::TempFolder& dir)> make;
    std::vector<std::string> reasonWords;
    QsoColumnSet columns = QsoColumnSet::All();
};

std::function<std::string(const test::TempFolder&)> FixtureFile(const char* name) {
    return [name](const test::TempFolder&) { return Fixture(name); };
}

// A copy of sample-log damaged by `damage`.
std::function<std::string(const test::TempFolder&)> Damaged(
    std::function<void(std::string&)> damage) {
    return [damage](const test::TempFolder& dir) {
        std::string bytes = test::ReadFile(Fixture("sample-log.mdb"));
        damage(bytes);
        const std::string path = dir.File("damaged.mdb");
        test::WriteFile(path, bytes);
        return path;
    };
}

std::function<std::string(const test::TempFolder&)> TruncatedTo(std::size_t pages) {
    return Damaged([pages](std::string& bytes) { bytes = bytes.substr(0, pages * kPage); });
}

TEST(QsoTableFailure, BadFilesAreRefusedWithAClearMessageAndNoWordFromLibmdb) {
    for (const BadFile& bad : std::vector<BadFile>{
             {"zero", FixtureFile("zero.mdb"), {"empty"}},
             {"garbage", FixtureFile("garbage.mdb"), {"not an Access database"}},
             {"truncated", FixtureFile("truncated.mdb"), {"truncated"}},
             {"no-qso-tab", FixtureFile("no-qso-tab.mdb"), {"no table [QSO-TAB]"}},
             {"Refdata", FixtureFile("Refdata.mdb"), {"no table [QSO-TAB]"}},
             {"MissingFile", FixtureFile("no-such-log.mdb"), {"does not exist"}},
             {"MissingFolderOnTheWay", FixtureFile("sample-log.mdb/log.mdb"), {"does not exist"}},
             {"Folder",
              [](const test::TempFolder& dir) { return dir.Path().string(); },
              {"folder"}},
             {"FifoIsRefusedWithoutWaiting",
              [](const test::TempFolder& dir) {
                  const std::string path = dir.File("pipe.mdb");
                  EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
                  return path;
              },
              {"not a regular file"}},
             {"MissingColumn", Damaged(RenameGrid), {"no column [QSO-GRID]"}},
             {"LongColumnOfAnotherType",  // [QSO-VALID] made Text
              Damaged([](std::string& bytes) { SetColumnType(bytes, 28, 0x0A); }),
              {"[QSO-VALID]", "type Text, not Long Integer"}},
             {"TextColumnOfAnotherType",  // [QSO-BAND] made Double
              Damaged([](std::string& bytes) { SetColumnType(bytes, 14, 0x07); }),
              {"[QSO-BAND]", "type Double, not Text"},
              {QsoColumn::Band}},
             {"TruncatedAt3Pages", TruncatedTo(3), {"truncated"}},
             {"TruncatedAt10Pages", TruncatedTo(10), {"truncated"}},
             {"TruncatedAt100Pages", TruncatedTo(100), {"truncated"}},
             {"TruncatedAt200Pages", TruncatedTo(200), {"truncated"}},
             {"TruncatedAt300Pages", TruncatedTo(300), {"truncated"}},
             {"NotAWholeNumberOfPages",
              Damaged([](std::string& bytes) { bytes.resize(bytes.size() - 100); }),
              {"truncated or damaged"}},
             {"CatalogPageDestroyed",
              Damaged([](std::string& bytes) {
                  std::fill(bytes.begin() + 2 * kPage, bytes.begin() + 3 * kPage, '\0');
              }),
              {"damaged"}},
             {"UnknownFileVersion",
              Damaged([](std::string& bytes) { bytes[0x14] = 7; }),
              {"unknown version (code 7)"}},
             {"EncryptedAccess2010Database",
              Damaged([](std::string& bytes) {
                  bytes[0x14] = 3;
                  EditScrambledHeader(bytes, [](std::string& h) { Put32(h, 0x3E, 0x5A17C0DE); });
              }),
              {"it is encrypted"}},
         }) {
        SCOPED_TRACE(bad.name);
        test::TempFolder dir;
        ExpectRefused(bad.make(dir), bad.reasonWords, bad.columns);
    }
}

// What the header and the table definition say, and what the reader makes of it: a later
// version word, a database password, encryption, and a stored row count that disagrees with the
// pages (read as the pages hold it, with one warning).
struct HeaderCase {
    const char* name;
    std::function<void(std::string&)> change;  // applied to a copy of sample-log
    const char* warning;                       // words of the expected one warning
};

TEST(LogHeader, ReadsWhatAccessReads) {
    const auto expected = QsoTable::Read(Fixture("sample-log.mdb"), QsoColumnSet::All());
    ASSERT_TRUE(expected->Warnings().empty());
    for (const HeaderCase& c : std::vector<HeaderCase>{
             {"Access2010VersionWordOf259",
              [](std::string& b) {
                  b[0x14] = 3;
                  b[0x15] = 1;
              },
              nullptr},
             {"Access2019Version", [](std::string& b) { b[0x14] = 6; }, nullptr},
             {"Jet4DatabasePassword",
              [](std::string& b) {
                  EditScrambledHeader(b, [](std::string& h) { h.replace(0x42, 6, "secret"); });
              },
              nullptr},
             {"Jet4EncryptedDatabase", [](std::string& b) { EncryptAsJet4(b, 0x5A17C0DE); },
              nullptr},
             {"StoredRowCountTooHigh", [](std::string& b) { SetStoredRowCount(b, 5003); },
              "[QSO-TAB] counts 5003 rows, its pages hold 5000"},
             {"StoredRowCountTooLow", [](std::string& b) { SetStoredRowCount(b, 12); },
              "[QSO-TAB] counts 12 rows, its pages hold 5000"},
         }) {
        SCOPED_TRACE(c.name);
        const test::TempFolder dir;
        const std::string path = Damaged(c.change)(dir);
        const auto table = QsoTable::Read(path, QsoColumnSet::All());
        ASSERT_EQ(table->RowCount(), expected->RowCount());
        for (std::size_t r = 0; r < table->RowCount(); r += 97) {
            ASSERT_EQ(table->Text(r, QsoColumn::Note), expected->Text(r, QsoColumn::Note));
            ASSERT_EQ(table->Long(r, QsoColumn::Number), expected->Long(r, QsoColumn::Number));
        }
        EXPECT_TRUE(CheckDatabaseVersion(path));
        if (c.warning == nullptr) {
            EXPECT_TRUE(table->Warnings().empty()) << ::testing::PrintToString(table->Warnings());
            continue;
        }
        ASSERT_EQ(table->Warnings().size(), 1u);
        test::ExpectHolds(table->Warnings().front(), {c.warning, path, "compact and repair"});
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

TEST(QsoTableFailure, AReadThatDoesNotAskForAMissingColumnDoesNotMissIt) {
    test::TempFolder dir;
    const std::string path = Damaged(RenameGrid)(dir);
    EXPECT_EQ(QsoTable::Read(path, {QsoColumn::Date, QsoColumn::Valid})->RowCount(), 5000u);
}

TEST(QsoTableFailure, StandardErrorWorksAgainAfterAFailedRead) {
    (void)ReadError(Fixture("truncated.mdb"));
    ::testing::internal::CaptureStderr();
    std::fprintf(stderr, "still here\n");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "still here\n");
}

}  // namespace
}  // namespace corvale
