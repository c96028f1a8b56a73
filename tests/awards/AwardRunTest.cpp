// The award runs on small logs held in memory: the cases of data/runs.txt, a run that stops,
// and the text of the files.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "CaseFile.h"
#include "TestFiles.h"
#include "awards/AwardRun.h"
#include "awards/OutputFile.h"
#include "awards/Windows1252.h"
#include "logdb/QsoTable.h"

namespace corvale::test {
namespace {

using Qso = std::map<std::string, std::string>;  // field name -> value

const std::map<std::string, QsoColumn> kFields = {
    {"prefix", QsoColumn::Prefix}, {"state", QsoColumn::State},     {"iota", QsoColumn::Iota},
    {"grid", QsoColumn::Grid},     {"band", QsoColumn::Band},       {"date", QsoColumn::Date},
    {"sat", QsoColumn::Sat},       {"confirm", QsoColumn::Confirm}, {"valid", QsoColumn::Valid}};

std::shared_ptr<const QsoTable> MakeTable(const std::vector<Qso>& log) {
    QsoTableBuilder builder(AwardColumnsRead());
    for (const Qso& qso : log) {
        builder.AddRow();
        for (const auto& [field, value] : qso) {
            const QsoColumn column = kFields.at(field);
            if (ColumnInfo(column).isLong)
                builder.Set(column, static_cast<std::int32_t>(std::stol(value)));
            else
                builder.Set(column, value);
        }
    }
    return builder.Build();
}

struct ExpectedEntity {
    std::string key, status;
    std::size_t contacts;
    bool placed;
    std::string name;
};

struct RunCase {
    std::string name;
    RunRequest request;
    std::vector<Qso> log;
    std::string pins, worked, confirmed;  // the files' expected bytes
    AwardCounters counters;
    std::vector<std::string> unplaced;
    std::optional<std::size_t> entityCount;
    std::vector<ExpectedEntity> entities;
};
void PrintTo(const RunCase& c, std::ostream* os) {
    *os << c.name;
}

// The next word of `line`, a value between double quotes taken whole.
std::string NextWord(std::istringstream& line) {
    std::string word;
    line >> std::ws;
    if (line.peek() == '"') {
        line.get();
        std::getline(line, word, '"');
    } else {
        line >> word;
    }
    return word;
}

std::vector<RunCase> ReadRunCases() {
    std::istringstream text(ReadFile(CORVALE_SOURCE_DIR "/tests/awards/data/runs.txt"));
    std::vector<RunCase> cases;
    for (std::string row; std::getline(text, row);) {
        std::istringstream line(row);
        std::string what;
        line >> what;
        if (what == "case") {
            RunCase& c = cases.emplace_back();
            std::string award;
            line >> c.name >> award;
            c.request.award = *std::ranges::find(kAllAwards, award, AwardName);
            for (std::string option; line >> option;) {
                c.request.squares |= option == "squares";
                if (option.starts_with("band="))
                    c.request.vuccBand = option.substr(5);
            }
        } else if (what == "qso") {
            Qso& qso = cases.back().log.emplace_back(
                Qso{{"band", "1"}, {"date", "20200101"}, {"sat", "None"}, {"valid", "1"}});
            for (std::string field; std::getline(line >> std::ws, field, '=');)
                qso[field] = NextWord(line);
        } else if (what == "pin" || what == "wkd" || what == "cfm") {
            std::string& file = what == "pin"   ? cases.back().pins
                                : what == "wkd" ? cases.back().worked
                                                : cases.back().confirmed;
            file += NextWord(line) + "\r\n";
        } else if (what == "counters") {
            line >> cases.back().counters.workedOnly >> cases.back().counters.confirmed;
        } else if (what == "unplaced") {
            for (std::string label; line >> label;)
                cases.back().unplaced.push_back(label);
        } else if (what == "entities") {
            line >> cases.back().entityCount.emplace();
        } else if (what == "entity") {
            ExpectedEntity& e = cases.back().entities.emplace_back();
            line >> e.key >> e.status >> e.contacts;
            std::getline(line >> std::ws, e.name);
            e.placed = e.name != "unplaced";
            if (!e.placed)
                e.name.clear();
        }
    }
    return cases;
}

// Everything that a run reported.
class Recorder : public RunObserver {
  public:
    void OnPin(const PinEvent&) override { ++pinsListed; }
    void OnRecord(const AwardCounters&, std::size_t, std::size_t) override { ++records; }
    void OnDiagnostics(std::string_view lines) override { diagnostics += lines; }
    std::size_t pinsListed = 0, records = 0;
    std::string diagnostics;
};

class AwardRun : public testing::TestWithParam<RunCase> {};

TEST_P(AwardRun, WritesItsFilesAndReportsItsEntities) {
    const RunCase& c = GetParam();
    TempFolder folder;
    RunRequest request = c.request;
    request.lstPath = folder.File("pins.lst");
    request.wkdPath = folder.File("squares.wkd");
    request.cfmPath = folder.File("squares.cfm");
    // Files of an earlier run, longer than any new one: replaced whole, or (squares off) kept.
    for (const std::string& path : {request.lstPath, request.wkdPath, request.cfmPath})
        WriteFile(path, "a much longer file of an earlier run\r\n");
    CSRC2006QSO qsoSet;
    qsoSet.m_strSort = std::string(AwardSortText(request.award));
    qsoSet.Open(MakeTable(c.log));
    Recorder recorder;
    const RunResult result = RunAward(request, qsoSet, recorder);

    EXPECT_EQ(ReadFile(request.lstPath), c.pins);
    const std::string old = request.squares ? "" : "a much longer file of an earlier run\r\n";
    EXPECT_EQ(ReadFile(request.wkdPath), request.squares ? c.worked : old);
    EXPECT_EQ(ReadFile(request.cfmPath), request.squares ? c.confirmed : old);
    EXPECT_EQ(ImageOf(folder.Path()).size(), 3u) << "no temporary or previous file is left";
    EXPECT_EQ(result.counters.workedOnly, c.counters.workedOnly);
    EXPECT_EQ(result.counters.confirmed, c.counters.confirmed);
    EXPECT_EQ(result.counters.total, c.counters.workedOnly + c.counters.confirmed);
    EXPECT_EQ(result.unplaced, c.unplaced);
    EXPECT_EQ(recorder.records, c.log.size());
    EXPECT_EQ(recorder.pinsListed, static_cast<std::size_t>(result.counters.total));
    // Locator conversions (grid awards only) report two diagnostic lines each; a pin needs one.
    const std::string& lines = recorder.diagnostics;
    const bool grid = AwardHasSquares(request.award);
    EXPECT_TRUE(lines.empty()
                    ? !grid || result.counters.total == 0
                    : grid && lines.starts_with("x: ") && lines.find("\ny: ") != std::string::npos)
        << lines;

    EXPECT_TRUE(std::ranges::is_sorted(result.entities, {}, &AwardEntity::key));
    EXPECT_EQ(
        std::ranges::count_if(
            result.entities, [](const AwardEntity& e) { return e.status != EntityStatus::Needed; }),
        result.counters.total);
    EXPECT_EQ(result.entities.size(), c.entityCount.value_or(result.entities.size()));
    const std::map<std::string, EntityStatus> statuses = {{"confirmed", EntityStatus::Confirmed},
                                                          {"worked", EntityStatus::Worked},
                                                          {"needed", EntityStatus::Needed}};
    for (const ExpectedEntity& e : c.entities) {
        const auto found = std::ranges::find(result.entities, e.key, &AwardEntity::key);
        ASSERT_NE(found, result.entities.end()) << e.key;
        EXPECT_EQ(found->status, statuses.at(e.status)) << e.key;
        EXPECT_EQ(found->contacts, e.contacts) << e.key;
        EXPECT_EQ(found->position.has_value(), e.placed) << e.key;
        if (!e.name.empty()) {
            EXPECT_EQ(found->name, e.name) << e.key;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, AwardRun, testing::ValuesIn(ReadRunCases()),
                         [](const auto& test) { return test.param.name; });

// A run on a log not yet read reads it with the award's own sort. A stop asked for while the
// run reads the log, or at once on a log already read, ends the run with its record set closed
// and every file as it was.
TEST(RunOnADxbaseLog, ReadsItWithItsOwnSortAndCanBeStopped) {
    class Stop : public RunObserver {
      public:
        void OnRowsRead(std::size_t) override { reading = true; }
        bool StopRequested() override { return stopWhenReading ? reading : atOnce; }
        bool reading = false, stopWhenReading = false, atOnce = false;
    };
    for (const std::string stop : {"never", "while reading", "at once"}) {
        SCOPED_TRACE(stop);
        TempFolder folder;
        const RunRequest request{.award = Award::Vucc,
                                 .lstPath = folder.File("VUCCpins.lst"),
                                 .squares = true,
                                 .wkdPath = folder.File("VUCCsquares.wkd"),
                                 .cfmPath = folder.File("VUCCsquares.cfm")};
        WriteFile(request.lstPath, "old pins");
        CSRC2006QSO qsoSet(CORVALE_SHARED_DIR "/fixtures/demo-log.mdb");
        Stop observer;
        observer.stopWhenReading = stop == "while reading";
        observer.atOnce = stop == "at once";
        if (observer.atOnce) {
            qsoSet.m_strSort = std::string(AwardSortText(Award::Vucc));
            qsoSet.Open(MakeTable({{{"grid", "FN42"}, {"band", "1"}, {"sat", "None"}}}));
        }
        const RunResult result = RunAward(request, qsoSet, observer);
        EXPECT_FALSE(qsoSet.IsOpen());
        if (stop == "never") {
            EXPECT_EQ(result.counters.total, 47);  // as the command's files checked by hand
            EXPECT_EQ(qsoSet.m_strSort, "[QSO-SAT], [QSO-BAND], [QSO-GRID]");
            continue;
        }
        EXPECT_TRUE(result.stopped);
        EXPECT_EQ(ImageOf(folder.Path()), (FolderImage{{"VUCCpins.lst", "old pins"}}));
    }
}

// A rename that fails after others succeeded puts the earlier files back, and the temporary
// files go.
TEST(OutputTransaction, CommitIsAllOrNothing) {
    TempFolder folder;
    WriteFile(folder / "WASpins.lst", "old was\r\n");
    {
        OutputTransaction files;
        for (const char* name : {"WASpins.lst", "DXCCpins.lst", "IOTApins.lst"})
            files.Create(folder / name).WriteLine("new");
        std::filesystem::create_directory(folder / "IOTApins.lst");  // taken after the run began
        EXPECT_THROW(files.Commit(), RunError);
    }
    EXPECT_EQ(ImageOf(folder.Path()),
              (FolderImage{{"WASpins.lst", "old was\r\n"}, {"IOTApins.lst", "<folder>"}}));
}

TEST(Windows1252, ConvertsWhatItCanAndMarksTheRest) {
    for (const Case& c : ReadCases("awards/cases/windows-1252.tsv"))
        EXPECT_EQ(Utf8ToWindows1252(c[0]), c[1]) << c.name;
}

}  // namespace
}  // namespace corvale::test
