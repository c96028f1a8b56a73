#include <gtest/gtest.h>

#include "AwardTestLog.h"

namespace corvale::test {
namespace {

constexpr const char* kAK = "|-27610|11534";
constexpr const char* kCA = "|-21601|6480";
constexpr const char* kFN42 = "|-12772|7654";
constexpr const char* kFN31 = "|-13132|7474";
constexpr const char* kEM12 = "|-17452|5854";

std::string Line(const std::string& status, const std::string& coordinate,
                 const std::string& label) {
    return status + coordinate + "|" + label + "|";
}

std::string FileOf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

struct WalkCase {
    std::string name;
    Award award;
    std::vector<Qso> log;
    std::vector<std::string> pins;  // pin file lines, in order
    AwardCounters counters;
    std::vector<std::string> unplaced = {};
    std::string band = "1";
};
void PrintTo(const WalkCase& c, std::ostream* os) {
    *os << c.name;
}

class AwardWalk : public testing::TestWithParam<WalkCase> {};

TEST_P(AwardWalk, WritesThePinsOfEachGroup) {
    const WalkCase& c = GetParam();
    TempFolder folder;
    RunRequest request{.award = c.award, .lstPath = folder.File("pins.lst"), .vuccBand = c.band};
    RecordedRun run = RunLog(request, c.log);

    EXPECT_EQ(ReadFile(request.lstPath), FileOf(c.pins));
    EXPECT_EQ(run.counters.workedOnly, c.counters.workedOnly);
    EXPECT_EQ(run.counters.confirmed, c.counters.confirmed);
    EXPECT_EQ(run.counters.total, c.counters.workedOnly + c.counters.confirmed);
    EXPECT_EQ(run.unplaced, c.unplaced);
    EXPECT_EQ(run.records, c.log.size());
    EXPECT_EQ(run.confirmedList.size() + run.workedOnlyList.size(),
              static_cast<std::size_t>(run.counters.total));
}

const WalkCase kWalkCases[] = {
    {"WasConfirmedByAnyRecordOfTheGroup",
     Award::Was,
     {Us("K", "AK", "", 1), Us("KL7", "AK", "1", 1), Us("K", "CA", "", 1)},
     {Line("02", kAK, "AK"), Line("01", kCA, "CA")},
     {.workedOnly = 1, .confirmed = 1}},
    {"WasStateClosesWhenItsLastRecordHasAnotherPrefix",
     Award::Was,
     {Us("K", "AK", "1", 1), Us("VE", "AK", "1", 1), Us("K", "CA", "", 1)},
     {Line("02", kAK, "AK"), Line("01", kCA, "CA")},
     {.workedOnly = 1, .confirmed = 1}},
    {"WasWorkedOnlyNeedsAValidLastRecord",
     Award::Was,
     {Us("K", "NY", "", 1), Us("K", "NY", "", 0), Us("K", "MA", "1", 0), Us("K", "MA", "", 1)},
     {Line("01", "|-13016|7612", "MA")},
     {.workedOnly = 1}},
    {"WasConfirmationCodes",
     Award::Was,
     {Us("K", "CT", "2", 2), Us("K", "ME", "4", 1), Us("KH6", "HI", "3", 3)},
     {Line("02", "|-13147|7485", "CT"), Line("02", "|-28412|3839", "HI"),
      Line("01", "|-12576|8120", "ME")},
     {.workedOnly = 1, .confirmed = 2}},
    {"WasIgnoresOtherPrefixesAndEmptyStates",
     Award::Was,
     {Us("VE", "ON", "1", 1), Us("K", "", "1", 1), Us("k", "NY", "1", 1), Us("K ", "NY", "1", 1)},
     {},
     {}},
    {"WasStateWithoutPositionIsListedNotWritten",
     Award::Was,
     {Us("K", "CT", "1", 1), Us("K", "DC", "1", 1), Us("K", "ak", "", 1)},
     {Line("02", "|-13147|7485", "CT")},
     {.workedOnly = 1, .confirmed = 2},
     {"DC", "ak"}},
    {"DxccGroupsByPrefix",
     Award::Dxcc,
     {Dx("K", "", 0), Dx("JA", "", 1), Dx("JA", "1", 1), Dx("K", "", 1), Dx("JA", "", 1)},
     {Line("02", "|24604|6406", "JA"), Line("01", "|-17555|7020", "K")},
     {.workedOnly = 1, .confirmed = 1}},
    {"DxccLeavesOutExcludedPrefixes",
     Award::Dxcc,
     {Dx("DM", "1", 1), Dx("VK9G", "1", 1), Dx("VK9G", "", 1), Dx("VK9", "", 1), Dx("I1", "", 1)},
     {},
     {.workedOnly = 1},
     {"VK9"}},
    {"DxccConfirmationNeedsAValidRecord",
     Award::Dxcc,
     {Dx("F", "1", 0), Dx("F", "", 1), Dx("G", "1", 4), Dx("G", "2", 3)},
     {Line("01", "|425|8402", "F"), Line("02", "|-280|9500", "G")},
     {.workedOnly = 1, .confirmed = 1}},
    {"IotaCodeTwoDoesNotConfirm",
     Award::Iota,
     {Island("EU005", "2", 1), Island("EU005", "", 1), Island("AF001", "3", 1)},
     {Line("02", "|10191|-1872", "AF001"), Line("01", "|-300|9420", "EU005")},
     {.workedOnly = 1, .confirmed = 1}},
    {"IotaLeavesOutExcludedReferences",
     Award::Iota,
     {Island("OC061", "1", 1), Island("EU-005", "1", 1), Island("", "1", 1)},
     {},
     {.confirmed = 1},
     {"EU-005"}},
    {"VuccSquareConfirmedWhateverItsValidity",
     Award::Vucc,
     {Grid("FN42", "", 1), Grid("FN42ab", "2", 0), Grid("FN42MM", "", 0)},
     {Line("02", kFN42, "FN42")},
     {.confirmed = 1}},
    {"VuccHasNoWorkedTest",
     Award::Vucc,
     {Grid("FN42", "", 0), Grid("EM12", "4", 1)},
     {Line("01", kEM12, "EM12"), Line("01", kFN42, "FN42")},
     {.workedOnly = 2}},
    {"VuccFilters",
     Award::Vucc,
     {Grid("FN42", "1", 1, "1", "20200101", ""), Grid("FN42", "1", 1, "1", "20200101", "AO-40"),
      Grid("FN42", "1", 1, "0"), Grid("FN42", "1", 1, "1", "19821231"),
      Grid("FN31", "", 1, "1", "19830101")},
     {Line("01", kFN31, "FN31")},
     {.workedOnly = 1}},
    {"VuccSquareClosesBeforeAnEarlyOrSatelliteContact",
     Award::Vucc,
     {Grid("FN42", "1", 1), Grid("FN42", "", 1, "1", "19820101"), Grid("EM12", "", 1),
      Grid("EM12", "", 1, "1", "20200101", "RS-10")},
     {Line("01", kEM12, "EM12"), Line("02", kFN42, "FN42")},
     {.workedOnly = 1, .confirmed = 1}},
    {"VuccOtherBand",
     Award::Vucc,
     {Grid("FN42", "1", 1, "0"), Grid("FN31", "1", 1, "1")},
     {Line("02", kFN42, "FN42")},
     {.confirmed = 1},
     {},
     "0"},
    {"FfmaCodesOneAndThree",
     Award::Ffma,
     {Grid("FN42", "1", 1), Grid("FN31", "2", 1), Grid("EM12", "3", 2)},
     {Line("02", kEM12, "EM12"), Line("01", kFN31, "FN31"), Line("02", kFN42, "FN42")},
     {.workedOnly = 1, .confirmed = 2}},
    {"FfmaWorkedOnlyNeedsAValidLastRecord",
     Award::Ffma,
     {Grid("FN42", "", 1), Grid("FN42", "", 0)},
     {},
     {}},
    {"FfmaAdmitsOnlyItsSquaresOnSixMetres",
     Award::Ffma,
     {Grid("DM00", "1", 1), Grid("DN09", "1", 1), Grid("EN99", "1", 1), Grid("IO91", "1", 1),
      Grid("FK68", "1", 1), Grid("FN42", "1", 1, "0"), Grid("FN42", "1", 1, "1", "19821231"),
      Grid("fn42", "1", 1)},
     {},
     {}},
    {"FfmaFieldOnlyGridAndSatelliteContacts",
     Award::Ffma,
     {Grid("EM", "", 1), Grid("FN42", "1", 1, "1", "20200101", "AO-40")},
     {Line("01", "|-16208|6296", "EM"), Line("02", kFN42, "FN42")},
     {.workedOnly = 1, .confirmed = 1}},
    {"FfmaSquareClosesBeforeAnEarlyContact",
     Award::Ffma,
     {Grid("FN42", "1", 1), Grid("FN42", "", 0, "1", "19800101")},
     {Line("02", kFN42, "FN42")},
     {.confirmed = 1}},
    {"EmptyLog", Award::Was, {}, {}, {}},
};

INSTANTIATE_TEST_SUITE_P(Awards, AwardWalk, testing::ValuesIn(kWalkCases),
                         [](const auto& test) { return test.param.name; });

struct SquaresCase {
    std::string name;
    Award award;
    std::vector<Qso> log;
    std::string worked;
    std::string confirmed;
};
void PrintTo(const SquaresCase& c, std::ostream* os) {
    *os << c.name;
}

class SquaresFiles : public testing::TestWithParam<SquaresCase> {};

TEST_P(SquaresFiles, HoldEachSquareOnceInWalkOrder) {
    const SquaresCase& c = GetParam();
    TempFolder folder;
    RunRequest request{.award = c.award,
                       .lstPath = folder.File("pins.lst"),
                       .squares = true,
                       .wkdPath = folder.File("sq.wkd"),
                       .cfmPath = folder.File("sq.cfm")};
    RunLog(request, c.log);
    EXPECT_EQ(ReadFile(request.wkdPath), c.worked);
    EXPECT_EQ(ReadFile(request.cfmPath), c.confirmed);
}

const SquaresCase kSquaresCases[] = {
    {"VuccFieldConfirmedByOneSquare",
     Award::Vucc,
     {Grid("FN42", "1", 1), Grid("FN31", "", 1)},
     "FN31\r\n",
     "FN\r\nFN42\r\n"},
    {"VuccFieldConfirmedByAnEarlierSquare",
     Award::Vucc,
     {Grid("FN31", "1", 1), Grid("FN42", "", 1), Grid("EM12", "", 1)},
     "EM\r\nEM12\r\nFN42\r\n",
     "FN31\r\nFN\r\n"},
    {"VuccWorkedField", Award::Vucc, {Grid("FN31", "", 0)}, "FN\r\nFN31\r\n", ""},
    {"FfmaSquaresOnlyNoFields",
     Award::Ffma,
     {Grid("FN42", "1", 1), Grid("FN31", "2", 1), Grid("EM", "", 1), Grid("EM12", "", 0)},
     "FN31\r\n",
     "FN42\r\n"},
    {"NothingToWrite", Award::Ffma, {Grid("IO91", "1", 1)}, "", ""},
};

INSTANTIATE_TEST_SUITE_P(Awards, SquaresFiles, testing::ValuesIn(kSquaresCases),
                         [](const auto& test) { return test.param.name; });

TEST(GridRuns, ReportTheLocatorDiagnostics) {
    TempFolder folder;
    RecordedRun run =
        RunLog({.award = Award::Vucc, .lstPath = folder.File("v.lst")}, {Grid("FN42", "", 1)});
    EXPECT_EQ(run.diagnostics.rfind("x: ", 0), 0u) << run.diagnostics;
    EXPECT_NE(run.diagnostics.find("\ny: "), std::string::npos) << run.diagnostics;
}

}  // namespace
}  // namespace corvale::test
