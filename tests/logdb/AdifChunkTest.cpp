// An .adi log is read a chunk at a time, and the values of the record at hand are held where the
// chunk holds them until the chunk moves on; a large one is read in parts on threads of their
// own. Wherever a chunk ends or a part starts (inside a tag, a kept value, a skipped value,
// between records) and however long a value is, the rows are those of the same records read in
// one piece.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "logdb/AdifLog.h"
#include "logdb/DbError.h"
#include "logdb/LogFormat.h"

namespace corvale {
namespace {

// The reader's chunk: 1 MiB.
constexpr std::size_t kChunk = std::size_t{1} << 20;

// Records whose fields the rows take (Latin-1 bytes, VUCC_GRIDS, a repeated field, names in any
// case, type letters), between fields that are skipped.
const std::string kRecords =
    "<CALL:6>DL1ABC <QSO_DATE:8:D>20240105 <TIME_ON:4>1200 <NAME:5>J\xF6rg <COMMENT:12>skip this "
    "one <BAND:2>6m <GRIDSQUARE:6>jo62qm <QSL_RCVD:1>Y <DXCC:3>230 <EOR>\n"
    "<call:5>W1AW/ <qso_date:8>20240106 <STATE:2>ct <VUCC_GRIDS:9>FN31,FN32 <GRIDSQUARE:4>FN41 "
    "<FREQ:6>50.125 <LOTW_QSL_RCVD:1>V <DXCC:3>291 <DXCC:3>110 <EOR>\n"
    "<CALL:4>K1JT <QSO_DATE:8>20240107 <IOTA:6>na-046 <PROP_MODE:3>SAT <SAT_NAME:4>AO-7 "
    "<EQSL_QSL_RCVD:1>Y <DXCC:3>291 <EOR>\n";

using Rows = std::vector<std::vector<std::string>>;

Rows RowsOf(const QsoTable& table) {
    Rows rows;
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        std::vector<std::string>& cells = rows.emplace_back();
        for (std::size_t c = 0; c < kQsoColumnCount; ++c) {
            const auto column = static_cast<QsoColumn>(c);
            cells.push_back(ColumnInfo(column).isLong ? std::to_string(table.Long(row, column))
                                                      : std::string(table.Text(row, column)));
        }
    }
    return rows;
}

Rows ReadRows(const test::TempFolder& folder, const std::string& text) {
    const std::string path = folder.File("log.adi");
    test::WriteFile(path, text);
    return RowsOf(*ReadLog(path, QsoColumnSet::All(), LogReadOptions{}).table);
}

// A header and text that the reader passes over, `size` bytes in all, before the first record.
std::string Preamble(std::size_t size) {
    const std::string header = "<ADIF_VER:5>3.1.4 <EOH>\n";
    return header + std::string(size - header.size() - 1, 'x') + "\n";
}

TEST(AdifChunks, RowsDoNotDependOnWhereAChunkEnds) {
    const test::TempFolder folder;
    const Rows expected = ReadRows(folder, kRecords);
    ASSERT_EQ(expected.size(), 5u);  // the VUCC record makes three rows
    // Every byte of the records in turn is the first of a new chunk; the text after them fills
    // the next chunk whole, so that nothing of the chunk before is left in the reader's buffer.
    const std::string after(kChunk, 'y');
    for (std::size_t at = 0; at < kRecords.size(); ++at) {
        EXPECT_EQ(ReadRows(folder, Preamble(kChunk - at) + kRecords + after), expected)
            << "a chunk ends before byte " << at << " of the records";
    }
}

// The reader remembers the tags it met by their bytes: tags that differ only after their first
// eight bytes, thousands of them among the records, are each told as their own.
TEST(AdifChunks, TagsAlikeInTheirFirstBytesAreToldApart) {
    const test::TempFolder folder;
    const Rows expected = ReadRows(folder, kRecords);
    std::string alike;
    for (char a = 'A'; a <= 'Z'; ++a) {
        for (char b = 'A'; b <= 'Z'; ++b) {
            for (const char* name : {"QSO_DATE", "GRIDSQUA", "CALL_"})
                alike += std::string("<") + name + a + b + ":1>" + a + " ";
        }
    }
    std::string text;
    for (std::size_t record = 0; record < 3; ++record)
        text += alike + kRecords + alike;
    const Rows rows = ReadRows(folder, text);
    ASSERT_EQ(rows.size(), 3 * expected.size());
    for (std::size_t row = 0; row < rows.size(); ++row)
        EXPECT_EQ(rows[row], expected[row % expected.size()]) << "row " << row;
}

TEST(AdifChunks, AKeptValueLongerThanAChunkIsReadWhole) {
    const test::TempFolder folder;
    const std::string name(kChunk + kChunk / 2, 'n');
    const std::string text = Preamble(kChunk - 100) + "<NAME:" + std::to_string(name.size()) + ">" +
                             name + " " + kRecords;
    const Rows rows = ReadRows(folder, text);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0][static_cast<std::size_t>(QsoColumn::Name)],
              "J\xC3\xB6rg");  // repeated: the last holds
    Rows expected = ReadRows(folder, kRecords);
    EXPECT_EQ(rows, expected);
    // A long name in the second record stays with it.
    const std::string second = kRecords.substr(0, kRecords.find('\n') + 1) +
                               "<NAME:" + std::to_string(name.size()) + ">" + name + " " +
                               kRecords.substr(kRecords.find('\n') + 1);
    expected[1][static_cast<std::size_t>(QsoColumn::Name)] = name;
    expected[2][static_cast<std::size_t>(QsoColumn::Name)] = name;
    expected[3][static_cast<std::size_t>(QsoColumn::Name)] = name;
    EXPECT_EQ(ReadRows(folder, Preamble(kChunk - 50) + second), expected);
}

// What a reading of an .adi file comes to: its rows and counts, or its failure.
struct Reading {
    Rows rows;
    std::vector<std::size_t> counts;  // records, rows, then the records without date, entity
    std::string failure;
    bool operator==(const Reading&) const = default;
};

// Reads `path` in one piece (no splits) or in parts that start at `splits`.
Reading ReadAdi(const std::string& path, const std::vector<std::uint64_t>* splits) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const auto size = static_cast<std::uint64_t>(::lseek(fd, 0, SEEK_END));
    logdb_detail::AdifLog log(path, QsoColumnSet::All(), LogReadOptions{}, {});
    Reading reading;
    try {
        if (splits != nullptr)
            logdb_detail::ParseAdiInParts(fd, size, log, *splits);
        else
            logdb_detail::ParseAdi(fd, size, log);
        AdifReadReport report;
        reading.rows = RowsOf(*log.Finish(&report));
        reading.counts = {report.records, report.rows};
        reading.counts.insert(reading.counts.end(), report.withoutDate.begin(),
                              report.withoutDate.end());
        reading.counts.insert(reading.counts.end(), report.withoutEntity.begin(),
                              report.withoutEntity.end());
    } catch (const DbError& error) {
        reading.failure = error.what();
    }
    ::close(fd);
    return reading;
}

TEST(AdifParts, ReadingInPartsGivesWhatOnePieceGives) {
    // A LoTW report's header (its kind holds in every part), "<EOR>" inside a kept and a skipped
    // value, fields before a late <EOH> that stay with their record, records without date and
    // entity, and records after <APP_LoTW_EOF> that are not read.
    const std::string report =
        "<PROGRAMID:4>LoTW <EOH>\n" + kRecords +
        "<CALL:4>K1AB <NAME:9>A <eor> B <COMMENT:12>x <EOR> y z <DXCC:1>6 <QSL_RCVD:1>Y <EOR>\n"
        "<CALL:4>K2AB <EOH> <QSO_DATE:8>20240108 <DXCC:3>291 <QSL_RCVD:1>Y <EOR>\n" +
        kRecords + "<APP_LoTW_EOF>\n" + kRecords;
    // No header, and a last field that runs past the end: the failure names its record.
    const std::string broken = kRecords + kRecords + "<CALL:4>K3AB <NAME:40>short";
    const test::TempFolder folder;
    for (const auto& [text, fails] : {std::pair{report, false}, std::pair{broken, true}}) {
        const std::string path = folder.File("log.adi");
        test::WriteFile(path, text);
        const Reading whole = ReadAdi(path, nullptr);
        ASSERT_EQ(whole.failure.empty(), !fails) << whole.failure;
        for (std::uint64_t at = 0; at < text.size(); ++at) {
            const std::vector<std::uint64_t> one = {at};
            EXPECT_EQ(ReadAdi(path, &one), whole) << "a part starts at byte " << at;
            // Parts that follow parts (taken, or read again where the guess was wrong).
            const std::vector<std::uint64_t> three = {at / 3, at, at + 40};
            if (at % 4 == 0) {
                EXPECT_EQ(ReadAdi(path, &three), whole)
                    << "parts start at " << at / 3 << ", " << at << " and " << at + 40;
            }
        }
    }
}

}  // namespace
}  // namespace corvale
