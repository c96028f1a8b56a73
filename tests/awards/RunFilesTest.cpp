#include <gtest/gtest.h>

#include <filesystem>

#include "AwardTestLog.h"
#include "awards/OutputFile.h"
#include "awards/Windows1252.h"

namespace corvale::test {
namespace {

const std::vector<Qso> kOneSquare = {{.grid = "FN42", .band = "1", .sat = "None", .confirm = "1"}};

RunRequest SquaresRequest(const TempFolder& folder, bool squares) {
    return {.award = Award::Vucc,
            .lstPath = folder.File("VUCCpins.lst"),
            .squares = squares,
            .wkdPath = folder.File("VUCCsquares.wkd"),
            .cfmPath = folder.File("VUCCsquares.cfm")};
}

TEST(RunFiles, SquaresOptionOffLeavesSquaresFilesAlone) {
    TempFolder folder;
    RunRequest request = SquaresRequest(folder, false);
    WriteFile(request.wkdPath, "old wkd");
    RunLog(request, kOneSquare);
    EXPECT_EQ(ReadFile(request.wkdPath), "old wkd");
    EXPECT_FALSE(std::filesystem::exists(request.cfmPath));
}

TEST(RunFiles, SecondRunReplacesTheFilesWhole) {
    TempFolder folder;
    RunRequest request = SquaresRequest(folder, true);
    WriteFile(request.lstPath, "a much longer previous content\r\n");
    RunLog(request, kOneSquare);
    RunLog(request, {});
    EXPECT_EQ(ReadFile(request.lstPath), "");
    EXPECT_EQ(ReadFile(request.cfmPath), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 3)
        << "no temporary file may be left behind";
}

// Each failure names the path and leaves every previous file as it was.
TEST(RunFiles, FailureChangesNoFile) {
    struct Case {
        std::string name;
        std::function<void(RunRequest&, const TempFolder&)> spoil;
        std::string pathInMessage;
    };
    const std::vector<Case> cases = {
        {"squares folder missing",
         [](RunRequest& r, const TempFolder& f) { r.cfmPath = f.File("missing/VUCCsquares.cfm"); },
         "missing/VUCCsquares.cfm"},
        {"pin file name taken by a folder",
         [](RunRequest& r, const TempFolder&) { std::filesystem::create_directory(r.lstPath); },
         "VUCCpins.lst"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        RunRequest request = SquaresRequest(folder, true);
        WriteFile(request.wkdPath, "old wkd");
        c.spoil(request, folder);
        try {
            RunLog(request, kOneSquare);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const RunError& e) {
            EXPECT_NE(std::string(e.what()).find(c.pathInMessage), std::string::npos)
                << c.name << ": " << e.what();
        }
        EXPECT_EQ(ReadFile(request.wkdPath), "old wkd") << c.name;
    }
}

// A rename that fails after others succeeded puts the earlier files back.
TEST(RunFiles, CommitIsAllOrNothing) {
    TempFolder folder;
    const std::string kept = folder.File("WASpins.lst"), fresh = folder.File("DXCCpins.lst");
    const std::string blocked = folder.File("IOTApins.lst");
    WriteFile(kept, "old was\r\n");
    {
        OutputTransaction files;
        files.Create(kept).WriteLine("new was");
        files.Create(fresh).WriteLine("new dxcc");
        files.Create(blocked).WriteLine("new iota");
        std::filesystem::create_directory(blocked);  // taken after the run began
        EXPECT_THROW(files.Commit(), RunError);
    }
    EXPECT_EQ(ReadFile(kept), "old was\r\n");
    EXPECT_FALSE(std::filesystem::exists(fresh));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2)
        << "only the old file and the folder may be left";

    OutputTransaction files;
    files.Create(kept).WriteLine("new was");
    files.Commit();
    EXPECT_EQ(ReadFile(kept), "new was\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2);
}

TEST(RunFiles, StoppedRunChangesNoFile) {
    class StopAtOnce : public RunObserver {
        bool StopRequested() override { return true; }
    } stop;
    TempFolder folder;
    RunRequest request = SquaresRequest(folder, true);
    WriteFile(request.lstPath, "old pins");
    CSRC2006QSO qsoSet;
    qsoSet.m_strSort = std::string(AwardSortText(Award::Vucc));
    qsoSet.Open(MakeTable(kOneSquare));
    EXPECT_TRUE(RunAward(request, qsoSet, stop).stopped);
    EXPECT_FALSE(qsoSet.IsOpen());
    EXPECT_EQ(ReadFile(request.lstPath), "old pins");
    EXPECT_FALSE(std::filesystem::exists(request.wkdPath));
}

TEST(RunFiles, RunReadsTheLogWithItsOwnSortAndCanBeStoppedWhileReading) {
    class StopWhileReading : public RunObserver {
      public:
        void OnRowsRead(std::size_t) override { reading = true; }
        bool StopRequested() override { return reading; }
        bool reading = false;
    } stop;
    TempFolder folder;
    RunRequest request = SquaresRequest(folder, true);
    CSRC2006QSO qsoSet(CORVALE_SHARED_DIR "/fixtures/demo-log.mdb");
    EXPECT_TRUE(RunAward(request, qsoSet, stop).stopped);
    EXPECT_FALSE(std::filesystem::exists(request.lstPath));

    RunObserver quiet;
    EXPECT_EQ(RunAward(request, qsoSet, quiet).counters.total, 47);
    EXPECT_EQ(qsoSet.m_strSort, "[QSO-SAT], [QSO-BAND], [QSO-GRID]");
    EXPECT_FALSE(qsoSet.IsOpen());
}

TEST(Windows1252, ConvertsWhatItCanAndMarksTheRest) {
    const std::pair<std::string, std::string> cases[] = {
        {"FN42", "FN42"},
        {"J\xC3\xBCrgen", "J\xFCrgen"},  // ü
        {"\xE2\x80\x93", "\x96"},        // en dash
        {"\xC5\x81ukasz", "?ukasz"},     // Ł is not in the code page
        {"a\xF0\x9F\x93\xBB"
         "b",
         "a?b"},  // outside the BMP
        {"bad\xFF"
         "byte",
         "bad?byte"},         // not UTF-8
        {"cut\xC3", "cut?"},  // truncated sequence
    };
    for (const auto& [utf8, expected] : cases)
        EXPECT_EQ(Utf8ToWindows1252(utf8), expected);
}

}  // namespace
}  // namespace corvale::test
