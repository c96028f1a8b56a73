// ADIF logs read back: the three sample files against their .tsv, then one table per rule of
// the mapping, each case a small log written for it.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LogdbTestSupport.h"
#include "logdb/DbError.h"
#include "logdb/LogFormat.h"

namespace corvale {
namespace {

using test::Fixture;

// The sample .tsv files leave empty the columns that only the map shows.
QsoColumnSet AwardAndStoredColumns() {
    QsoColumnSet columns;
    for (std::size_t c = 0; c < kQsoColumnCount; ++c) {
        const auto column = static_cast<QsoColumn>(c);
        if (column != QsoColumn::Call && column != QsoColumn::Time && column != QsoColumn::Mode &&
            column != QsoColumn::Freq && column != QsoColumn::Name)
            columns.Add(column);
    }
    return columns;
}

struct SampleCase {
    const char* name;
    const char* file;
    LogFormat format;
};

void PrintTo(const SampleCase& sample, std::ostream* out) {
    *out << sample.file;
}

class AdifSampleMatchesTsv : public ::testing::TestWithParam<SampleCase> {};

TEST_P(AdifSampleMatchesTsv, RowsReadBackAsInTheTsv) {
    const SampleCase& sample = GetParam();
    const std::string path = Fixture(std::string("adif/") + sample.file);
    const LogRead read = ReadLog(path, AwardAndStoredColumns(), LogReadOptions{});
    EXPECT_EQ(read.format, sample.format);
    const std::string tsvPath = path.substr(0, path.rfind('.')) + ".tsv";
    const std::vector<std::string> differences =
        test::CompareWithTsv(*read.table, test::ReadTsv(tsvPath));
    EXPECT_TRUE(differences.empty()) << ::testing::PrintToString(differences);
    EXPECT_EQ(read.adif.records, 300u);
    EXPECT_EQ(read.adif.rows, read.table->RowCount());
}

INSTANTIATE_TEST_SUITE_P(Samples, AdifSampleMatchesTsv,
                         ::testing::Values(SampleCase{"plain", "sample-plain.adi", LogFormat::Adi},
                                           SampleCase{"lotw", "sample-lotw.adi", LogFormat::Adi},
                                           SampleCase{"adx", "sample-adx.adx", LogFormat::Adx}),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace corvale
