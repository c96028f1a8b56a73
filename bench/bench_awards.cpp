// The five award runs over the first N contacts of the large log, N = 25,000 to 200,000: what a
// run costs per contact once the log is read, and whether that cost stays flat as logs grow.
//
// The log is read once (the nine columns of the runs); the first N rows, in table order, are
// copied into a table of their own with QsoTableBuilder. One iteration is what corvale-cli does
// after the read: each award opens a record set with its sort over the table, walks it and
// writes its files (pins and squares) into a temporary folder, and the five runs' files replace
// the previous ones together. The read of the log itself is one pass over its pages, timed
// against mdb-export by scripts/bench.sh.
//
//   bench_awards --benchmark_repetitions=5   ns_per_qso: the run's wall time per contact

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "awards/AwardRun.h"
#include "awards/OutputFile.h"
#include "logdb/CSRC2006QSO.h"
#include "logdb/QsoTable.h"

namespace {

using namespace corvale;

const std::string kLargeLog = CORVALE_LARGE_LOG;

std::shared_ptr<const QsoTable> LargeLog() {
    static const std::shared_ptr<const QsoTable> table =
        QsoTable::Read(kLargeLog, AwardColumnsRead());
    return table;
}

std::shared_ptr<const QsoTable> FirstRows(std::size_t count) {
    static std::map<std::size_t, std::shared_ptr<const QsoTable>> made;
    auto& table = made[count];
    if (table)
        return table;
    const auto& all = *LargeLog();
    const QsoColumnSet columns = all.Columns();
    QsoTableBuilder builder(columns);
    for (std::size_t row = 0; row < count && row < all.RowCount(); ++row) {
        builder.AddRow();
        for (std::size_t c = 0; c < kQsoColumnCount; ++c) {
            const auto column = static_cast<QsoColumn>(c);
            if (!columns.Has(column))
                continue;
            if (ColumnInfo(column).isLong)
                builder.Set(column, all.Long(row, column));
            else
                builder.Set(column, all.Text(row, column));
        }
    }
    table = builder.Build();
    return table;
}

class OutputFolder {
  public:
    OutputFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "corvale-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary folder");
        path_ = pattern;
    }
    ~OutputFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;
    std::string File(std::string_view name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

// corvale-cli's part after the read: the five runs, their files replaced together.
long FiveAwards(const std::shared_ptr<const QsoTable>& table, const OutputFolder& folder) {
    OutputTransaction files;
    RunObserver observer;
    long pins = 0;
    for (Award award : kAllAwards) {
        RunRequest request;
        request.award = award;
        request.lstPath = folder.File(DefaultLstName(award));
        request.squares = AwardHasSquares(award);
        if (request.squares) {
            const std::string stem = std::string(AwardName(award)) + "squares";
            request.wkdPath = folder.File(stem + ".wkd");
            request.cfmPath = folder.File(stem + ".cfm");
        }
        CSRC2006QSO set;
        set.m_strSort = std::string(AwardSortText(award));
        set.m_columnsRead = AwardColumnsRead(award);
        set.Open(table);
        pins += RunAward(request, set, observer, files).counters.total;
    }
    files.Commit();
    return pins;
}

void BM_FiveAwards(benchmark::State& state) {
    if (access(kLargeLog.c_str(), R_OK) != 0) {
        state.SkipWithError(("no " + kLargeLog).c_str());
        return;
    }
    const auto table = FirstRows(static_cast<std::size_t>(state.range(0)));
    const OutputFolder folder;
    for (auto _ : state)
        benchmark::DoNotOptimize(FiveAwards(table, folder));
    const auto rows = static_cast<double>(table->RowCount());
    state.counters["ns_per_qso"] = benchmark::Counter(
        rows * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FiveAwards)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
