// ADIF logs read back: the three sample files against their .tsv, then the rules of the mapping
// (cases/adif-rules.tsv), each case a small log written for it and read as a run reads it.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CaseFile.h"
#include "LogdbTestSupport.h"
#include "logdb/DbError.h"
#include "logdb/LogFormat.h"
#include "logdb/QsoColumn.h"

namespace corvale {
namespace {

using test::Fixture;
using Values = std::vector<std::string>;

// adif/sample-NAME.adi (sample-adx.adx for adx) against its .tsv.
class AdifSampleMatchesTsv : public ::testing::TestWithParam<std::string> {};

TEST_P(AdifSampleMatchesTsv, RowsReadBackAsInTheTsv) {
    const bool adx = GetParam() == "adx";
    const std::string path = Fixture("adif/sample-" + GetParam() + (adx ? ".adx" : ".adi"));
    // The sample .tsv files leave empty the columns that only the map shows.
    const QsoColumnSet shown{QsoColumn::Call, QsoColumn::Time, QsoColumn::Mode, QsoColumn::Freq,
                             QsoColumn::Name};
    QsoColumnSet columns;
    for (std::size_t c = 0; c < kQsoColumnCount; ++c) {
        if (!shown.Has(static_cast<QsoColumn>(c)))
            columns.Add(static_cast<QsoColumn>(c));
    }
    const LogRead read = ReadLog(path, columns, LogReadOptions{});
    EXPECT_EQ(read.format, adx ? LogFormat::Adx : LogFormat::Adi);
    const std::string tsvPath = path.substr(0, path.rfind('.')) + ".tsv";
    const Values differences = test::CompareWithTsv(*read.table, test::ReadTsv(tsvPath));
    EXPECT_TRUE(differences.empty()) << ::testing::PrintToString(differences);
    EXPECT_EQ(read.adif.records, 300u);
    EXPECT_EQ(read.adif.rows, read.table->RowCount());
}

INSTANTIATE_TEST_SUITE_P(Samples, AdifSampleMatchesTsv, ::testing::Values("plain", "lotw", "adx"),
                         [](const auto& param) { return param.param; });

// A country file in the format of cty.csv, with the decorations that real lines carry.
constexpr char kCountries[] =
    "K,United States,291,NA,5,8,37.60,91.87,5.0,AA K N W(4)[7] =W1AW/LH =N2NL/MM(7);\n"
    "KH6,Hawaii,110,OC,31,61,21.12,157.48,10.0,AH6 KH6 {x}WH6;\n"
    "KL,Alaska,6,NA,1,1,61.40,148.87,8.0,AL KL =W1XYZ;\n"
    "KP4,Puerto Rico,202,NA,8,11,18.18,66.55,4.0,KP4 <18.1/66.5>NP4;\n"
    "*GM/s,Shetland Islands,279,EU,14,27,60.50,1.50,0.0,=GB2ELH;\n"
    "VE,Canada,1,NA,5,9,44.35,78.75,5.0,VE ~x~VA;\n";

// A log written as `text` into a file whose name says nothing of its kind, and read.
class AdifLog {
  public:
    AdifLog() {
        test::WriteFile(folder_ / "cty.csv", kCountries);
        options_.countryFile = folder_.File("cty.csv");
    }
    LogRead Read(const std::string& text) const {
        test::WriteFile(folder_ / "log.txt", text);
        return ReadLog(folder_.File("log.txt"), QsoColumnSet::All(), options_);
    }
    static Values Cells(const QsoTable& table, QsoColumn column) {
        Values cells;
        for (std::size_t row = 0; row < table.RowCount(); ++row)
            cells.emplace_back(table.Text(row, column));
        return cells;
    }

    test::TempFolder folder_;
    LogReadOptions options_;
};

// The column that one rule fills, compared row by row.
class AdifColumnRule : public ::testing::TestWithParam<const char*> {};

TEST_P(AdifColumnRule, FillsTheColumnOfEveryRow) {
    const AdifLog log;
    for (const test::Case& c : test::ReadCases("logdb/cases/adif-rules.tsv", GetParam())) {
        const Values expected = c[2] == "(no rows)" ? Values{} : test::Split(c[2]);
        EXPECT_EQ(AdifLog::Cells(*log.Read(c[1]).table, test::ColumnNamed(c[0])), expected)
            << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(AdifRules, AdifColumnRule,
                         ::testing::Values("HeaderAndRecordEnds", "FieldSyntax", "FieldNames",
                                           "GridsAndVuccGrids", "BandFromBandOrFreq",
                                           "SatelliteStateAndIota", "AdxFields"),
                         [](const auto& param) { return std::string(param.param); });

// A record of several squares is one record of several rows; an ADX record without fields is none.
TEST(AdifRules, RecordsAreCountedAsTheLogHoldsThem) {
    const LogRead read =
        AdifLog().Read("<EOH><QSO_DATE:8>20240101<STATE:2>ct<VUCC_GRIDS:9>FN31,FN41<EOR>");
    EXPECT_EQ(read.adif.records, 1u);
    EXPECT_EQ(read.adif.rows, 2u);
    const LogRead adx = AdifLog().Read(
        "<ADX><RECORDS><RECORD/><RECORD></RECORD><RECORD><CALL>W1AW</CALL></RECORD></RECORDS></"
        "ADX>");
    EXPECT_EQ(adx.adif.records, 1u);
}

// The DXCC field when it is usable, the call's entity when it is not.
TEST(AdifRules, EntityOfARecord) {
    AdifLog log;
    for (const test::Case& c : test::ReadCases("logdb/cases/adif-rules.tsv", "entity")) {
        const LogRead read = log.Read("<EOH>" + c[0] + "<EOR>");
        ASSERT_GE(read.table->RowCount(), 1u) << c.name;
        EXPECT_EQ(read.table->Text(0, QsoColumn::Prefix), c[1]) << c.name;
        EXPECT_EQ(std::to_string(read.adif.entitiesFromCalls), c[2]) << c.name;
        EXPECT_EQ(read.adif.withoutEntity.empty(), !c[1].empty()) << c.name;
    }

    // Without a country file no call is placed, and the report says why.
    log.options_.countryFile = log.folder_.File("no-such-cty.csv");
    const LogRead read = log.Read("<EOH><CALL:4>W1AW<EOR><DXCC:3>291<EOR>");
    EXPECT_EQ(AdifLog::Cells(*read.table, QsoColumn::Prefix), (Values{"", "K"}));
    EXPECT_NE(read.adif.countryFileProblem.find("no-such-cty.csv"), std::string::npos);
    EXPECT_EQ(read.adif.withoutEntity, std::vector<std::size_t>{1});
}

// Each source of a confirmation, in each kind of file, with each subset of sources counted.
TEST(AdifRules, ConfirmationSources) {
    AdifLog log;
    for (const test::Case& c : test::ReadCases("logdb/cases/adif-rules.tsv", "confirm")) {
        const Values counted = test::Split(c[1], '+');
        const auto counts = [&](const char* source) {
            return std::find(counted.begin(), counted.end(), source) != counted.end();
        };
        log.options_.confirmations = {counts("card"), counts("lotw"), counts("eqsl")};
        const LogRead read = log.Read(c[0]);
        ASSERT_EQ(read.table->RowCount(), 1u) << c.name;
        EXPECT_EQ(read.table->Text(0, QsoColumn::Confirm), c[2]) << c.name;
        EXPECT_EQ(read.table->Long(0, QsoColumn::Valid), 1) << c.name;
    }
}

// Bad input ends in one sentence naming the file and the place; never a crash or a hang.
TEST(AdifRules, BadInputIsRefusedInWords) {
    const AdifLog log;
    for (const test::Case& c : test::ReadCases("logdb/cases/adif-rules.tsv", "refused")) {
        try {
            log.Read(c[0]);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const DbError& error) {
            const std::string message = error.what();
            for (const std::string& part : test::Split(c[1]))
                EXPECT_NE(message.find(part), std::string::npos) << c.name << ": " << message;
        }
    }
}

}  // namespace
}  // namespace corvale
