// What the header and the table definition say, and what the reader makes of it: the version
// byte, a database password, encryption, and a stored row count that disagrees with the pages.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "LogdbTestSupport.h"
#include "logdb/DatabaseVersion.h"
#include "logdb/DbError.h"
#include "logdb/MdbLog.h"
#include "logdb/QsoTable.h"

namespace corvale {
namespace {

using test::Fixture;

constexpr std::size_t kPage = 4096;  // sample-log is Jet 4
constexpr std::size_t kScrambledStart = 0x18;
constexpr std::size_t kScrambledSize = 128;

// Access's RC4 over a run of the file's bytes.
void Rc4(const unsigned char* key, std::size_t keySize, char* bytes, std::size_t size) {
    logdb_detail::Rc4(key, keySize, reinterpret_cast<unsigned char*>(bytes), size);
}

void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
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

struct HeaderCase {
    const char* name;
    std::function<void(std::string&)> change;  // applied to a copy of sample-log
    const char* failure;                       // words of the expected error; nullptr: reads
    const char* warning;                       // words of the expected one warning
};

TEST(LogHeader, ReadsWhatAccessReadsAndSaysWhyNot) {
    const std::string sample = Fixture("sample-log.mdb");
    const auto expected = QsoTable::Read(sample, QsoColumnSet::All());
    ASSERT_TRUE(expected->Warnings().empty());
    for (const HeaderCase& c : std::vector<HeaderCase>{
             {"Access2010VersionWordOf259",
              [](std::string& b) {
                  b[0x14] = 3;
                  b[0x15] = 1;
              },
              nullptr, nullptr},
             {"Access2019Version", [](std::string& b) { b[0x14] = 6; }, nullptr, nullptr},
             {"Jet4DatabasePassword",
              [](std::string& b) {
                  EditScrambledHeader(b, [](std::string& h) { h.replace(0x42, 6, "secret"); });
              },
              nullptr, nullptr},
             {"Jet4EncryptedDatabase", [](std::string& b) { EncryptAsJet4(b, 0x5A17C0DE); },
              nullptr, nullptr},
             {"EncryptedAccess2010Database",
              [](std::string& b) {
                  b[0x14] = 3;
                  EditScrambledHeader(b, [](std::string& h) { Put32(h, 0x3E, 0x5A17C0DE); });
              },
              "it is encrypted", nullptr},
             {"UnknownVersion", [](std::string& b) { b[0x14] = 7; }, "unknown version (code 7)",
              nullptr},
             {"StoredRowCountTooHigh", [](std::string& b) { SetStoredRowCount(b, 5003); }, nullptr,
              "[QSO-TAB] counts 5003 rows, its pages hold 5000"},
             {"StoredRowCountTooLow", [](std::string& b) { SetStoredRowCount(b, 12); }, nullptr,
              "[QSO-TAB] counts 12 rows, its pages hold 5000"},
         }) {
        SCOPED_TRACE(c.name);
        test::TempFolder dir;
        const std::string path = dir.File("log.mdb");
        std::string bytes = test::ReadFile(sample);
        c.change(bytes);
        test::WriteFile(path, bytes);
        if (c.failure != nullptr) {
            try {
                QsoTable::Read(path, QsoColumnSet::All());
                ADD_FAILURE() << "no DbError";
            } catch (const DbError& error) {
                const std::string message = error.what();
                EXPECT_NE(message.find(c.failure), std::string::npos) << message;
                EXPECT_NE(message.find(path), std::string::npos) << message;
            }
            continue;
        }
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
        const std::string& warning = table->Warnings().front();
        for (const std::string& word :
             {std::string(c.warning), path, std::string("compact and repair")})
            EXPECT_NE(warning.find(word), std::string::npos) << warning;
    }
}

}  // namespace
}  // namespace corvale
