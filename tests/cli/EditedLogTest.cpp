// corvale-cli on logs that have been edited for years: the files are those that the logs' rows
// (as Access reads them, in its order) give, and no stale or deleted contact shows.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "LogdbTestSupport.h"
#include "RunProgram.h"
#include "TestFiles.h"
#include "awards/AwardRun.h"
#include "logdb/QsoTable.h"

namespace fs = std::filesystem;

namespace corvale {
namespace {

using test::ReadFile;

const std::string kLivedIn = CORVALE_SHARED_DIR "/fixtures/lived-in/";

// Runs `corvale-cli all --squares` on `log`, writing into `folder`; returns its standard error.
std::string RunAll(const std::string& log, const fs::path& folder) {
    const test::RunOutcome run = test::RunCli({"all", "--squares", "--source-mdb", log, "--lst-dir",
                                               folder.string(), "--squares-dir", folder.string()});
    EXPECT_EQ(run.status, 0) << log << ": " << run.err;
    return run.err;
}

// The labels of a pin file: the fourth field of each line.
std::set<std::string> Labels(const fs::path& pins) {
    std::set<std::string> labels;
    const std::string text = ReadFile(pins);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        const std::string line = text.substr(at, end - at);
        std::size_t field = 0;
        for (int bar = 0; bar < 3; ++bar)
            field = line.find('|', field) + 1;
        labels.insert(line.substr(field, line.find('|', field) - field));
        at = end + 2;
    }
    return labels;
}

// The rows of a .tsv as the record set would hold them.
std::shared_ptr<const QsoTable> TableOf(const test::Tsv& tsv) {
    QsoTableBuilder builder;
    for (const auto& cells : tsv.rows) {
        builder.AddRow();
        for (std::size_t c = 0; c < kQsoColumnCount; ++c) {
            const auto column = static_cast<QsoColumn>(c);
            if (QsoColumns()[c].isLong)
                builder.Set(column, static_cast<std::int32_t>(std::stol("0" + cells[c])));
            else
                builder.Set(column, cells[c]);
        }
    }
    return builder.Build();
}

// The files that the five runs write for `rows`, into `folder`.
void WriteExpectedFiles(const std::shared_ptr<const QsoTable>& rows, const fs::path& folder) {
    for (Award award : kAllAwards) {
        RunRequest request;
        request.award = award;
        request.lstPath = (folder / DefaultLstName(award)).string();
        request.squares = AwardHasSquares(award);
        const std::string stem = std::string(AwardName(award)) + "squares";
        request.wkdPath = (folder / (stem + ".wkd")).string();
        request.cfmPath = (folder / (stem + ".cfm")).string();
        CSRC2006QSO set;
        set.m_strSort = std::string(AwardSortText(award));
        set.Open(rows);
        RunObserver quiet;
        RunAward(request, set, quiet);
    }
}

TEST(EditedLog, PinsAreThoseOfTheRowsThatAccessReads) {
    struct Expected {
        const char* log;
        std::set<std::string> was;
        std::set<std::string> dxcc;
    };
    for (const Expected& c : std::vector<Expected>{
             // One contact added, grown (moved) and deleted: nothing is pinned.
             {"min-deleted", {}, {}},
             // One contact edited NY, then TX, then CA: CA alone.
             {"min-stale", {"CA"}, {"K"}},
             // Two NY contacts, the first grown (moved): the second, valid, ends the group.
             {"min-order", {"NY"}, {"K"}},
             // [VERSION] edited from 5 to 6: the log is accepted.
             {"min-version", {"NY"}, {"K"}},
         }) {
        SCOPED_TRACE(c.log);
        test::TempFolder folder;
        EXPECT_EQ(RunAll(kLivedIn + c.log + ".mdb", folder.Path()), "");
        EXPECT_EQ(Labels(folder.Path() / "WASpins.lst"), c.was);
        EXPECT_EQ(Labels(folder.Path() / "DXCCpins.lst"), c.dxcc);
        for (const char* none : {"IOTApins.lst", "VUCCpins.lst", "FFMApins.lst"})
            EXPECT_EQ(ReadFile(folder.Path() / none), "") << none;
    }
}

TEST(EditedLog, FilesAreThoseThatTheRowsGive) {
    std::vector<std::string> logs{kLivedIn + "livedin-s5-light.mdb"};
    if (fs::exists(CORVALE_LIVED_IN_LOG))
        logs.push_back(CORVALE_LIVED_IN_LOG);
    for (const std::string& log : logs) {
        SCOPED_TRACE(log);
        test::TempFolder written, expected;
        const std::string err = RunAll(log, written.Path());
        EXPECT_EQ(err.find("warning"), std::string::npos) << err;  // only unplaced labels
        const std::string tsv = log.substr(0, log.rfind('.')) + ".tsv";
        WriteExpectedFiles(TableOf(test::ReadTsv(tsv)), expected.Path());
        std::size_t files = 0;
        for (const auto& entry : fs::directory_iterator(expected.Path())) {
            const std::string name = entry.path().filename().string();
            EXPECT_EQ(ReadFile(written.Path() / name), ReadFile(entry.path())) << name;
            ++files;
        }
        EXPECT_EQ(files, 9u);
    }
}

TEST(EditedLog, AStoredRowCountThatDisagreesIsReadWithOneWarning) {
    test::TempFolder folder;
    const std::string log = (folder.Path() / "log.mdb").string();
    std::string bytes = ReadFile(CORVALE_SHARED_DIR "/fixtures/sample-log.mdb");
    bytes[24 * 4096 + 16] = 7;  // [QSO-TAB] (defined on page 24) counts 4,871 rows, not 5,000
    test::WriteFile(log, bytes);
    const fs::path out = folder.Path() / "out";
    fs::create_directory(out);
    const std::string err = RunAll(log, out);
    const std::size_t warning = err.find("corvale-cli: warning: ");
    ASSERT_NE(warning, std::string::npos) << err;
    const std::string line = err.substr(warning, err.find('\n', warning) - warning);
    EXPECT_NE(line.find(log), std::string::npos) << line;
    EXPECT_NE(line.find("compact and repair"), std::string::npos) << line;
    EXPECT_EQ(err.find("compact and repair", warning + line.size()), std::string::npos) << err;
    EXPECT_FALSE(ReadFile(out / "WASpins.lst").empty());
}

}  // namespace
}  // namespace corvale
