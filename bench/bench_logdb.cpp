// Reading the large log (200,000 contacts): the nine columns of an award run, all 41 columns,
// a run's read + sort + walk, and mdb-export on the same file as the yardstick; and the cost per
// row of a log edited for years against the large log's.
//
//   bench_logdb --benchmark_filter=RunVsMdbExport   the ratio against mdb-export (at most 0.35)
//   bench_logdb --benchmark_filter=EditedLogPerRow  edited over large, per row (at most 1.5)
//
// peak_rss_MB is the process's peak so far: run one benchmark alone (a filter) to read it.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <time.h>

#include <chrono>
#include <stdexcept>
#include <string>

#include "logdb/CSRC2006QSO.h"
#include "logdb/QsoTable.h"

extern char** environ;

namespace {

using corvale::CSRC2006QSO;
using corvale::QsoColumn;
using corvale::QsoColumnSet;
using corvale::QsoTable;

const std::string kLargeLog = CORVALE_LARGE_LOG;

QsoColumnSet RunColumns() {
    return {QsoColumn::Date,    QsoColumn::Prefix, QsoColumn::Band,
            QsoColumn::State,   QsoColumn::Iota,   QsoColumn::Grid,
            QsoColumn::Confirm, QsoColumn::Valid,  QsoColumn::Sat};
}

double PeakRssMegabytes() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// `mdb-export LOG QSO-TAB > /dev/null`, waited for.
void RunMdbExport() {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::string program = "mdb-export", table = "QSO-TAB", log = kLargeLog;
    char* argv[] = {program.data(), log.data(), table.data(), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "mdb-export", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error("cannot run mdb-export");
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("mdb-export failed");
}

// What an award run asks of this layer: the read, the sort, and a walk that looks one record
// ahead and comes back at every record (the VUCC sort: three columns).
std::size_t ReadSortWalk() {
    const auto table = QsoTable::Read(kLargeLog, RunColumns());
    CSRC2006QSO set;
    set.m_strSort = "[QSO-SAT], [QSO-BAND], [QSO-GRID]";
    set.Open(table);
    std::size_t changes = 0;
    std::string next;
    while (!set.IsEOF()) {
        set.MoveNext();
        next = set.m_QSO_GRID;
        set.MovePrev();
        changes += next != set.m_QSO_GRID;
        set.MoveNext();
    }
    return changes;
}

bool HaveLargeLog(benchmark::State& state) {
    if (access(kLargeLog.c_str(), R_OK) == 0)
        return true;
    state.SkipWithError(("no " + kLargeLog).c_str());
    return false;
}

void BM_ReadRunColumns(benchmark::State& state) {
    if (!HaveLargeLog(state))
        return;
    for (auto _ : state) {
        const auto table = QsoTable::Read(kLargeLog, RunColumns());
        benchmark::DoNotOptimize(table->RowCount());
    }
    state.counters["peak_rss_MB"] = PeakRssMegabytes();
}
BENCHMARK(BM_ReadRunColumns)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadAllColumns(benchmark::State& state) {
    if (!HaveLargeLog(state))
        return;
    for (auto _ : state) {
        const auto table = QsoTable::Read(kLargeLog, QsoColumnSet::All());
        benchmark::DoNotOptimize(table->RowCount());
    }
    state.counters["peak_rss_MB"] = PeakRssMegabytes();
}
BENCHMARK(BM_ReadAllColumns)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadSortWalk(benchmark::State& state) {
    if (!HaveLargeLog(state))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadSortWalk());
    state.counters["peak_rss_MB"] = PeakRssMegabytes();
}
BENCHMARK(BM_ReadSortWalk)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MdbExport(benchmark::State& state) {
    if (!HaveLargeLog(state))
        return;
    for (auto _ : state)
        RunMdbExport();
}
BENCHMARK(BM_MdbExport)->Unit(benchmark::kMillisecond)->UseRealTime();

// mdb-export and this layer's part of a run, taken turn about so that both see the same
// machine; `ratio` is the layer's total time over mdb-export's, and `ratio_all41` the same for
// a read of all 41 columns.
void BM_RunVsMdbExport(benchmark::State& state) {
    if (!HaveLargeLog(state))
        return;
    std::chrono::steady_clock::duration exportTime{}, runTime{}, allTime{};
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        RunMdbExport();
        auto t1 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(ReadSortWalk());
        auto t2 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(QsoTable::Read(kLargeLog, QsoColumnSet::All())->RowCount());
        auto t3 = std::chrono::steady_clock::now();
        exportTime += t1 - t0;
        runTime += t2 - t1;
        allTime += t3 - t2;
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["mdb_export_ms"] = 1000 * Seconds(exportTime) / n;
    state.counters["run_ms"] = 1000 * Seconds(runTime) / n;
    state.counters["all41_ms"] = 1000 * Seconds(allTime) / n;
    state.counters["ratio"] = Seconds(runTime) / Seconds(exportTime);
    state.counters["ratio_all41"] = Seconds(allTime) / Seconds(exportTime);
}
BENCHMARK(BM_RunVsMdbExport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The process's CPU time: on a busy machine the wall time mostly measures the others.
std::chrono::nanoseconds CpuNow() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}

// A log edited for years (moved rows read through their pointers, deleted rows and stale copies
// passed over, pages a quarter full) against the large log, read in turns: `ratio_per_row` is
// the edited log's read time per row over the large log's (at most 1.5), `cpu_ratio_per_row`
// the same in CPU time.
void BM_EditedLogPerRow(benchmark::State& state, const std::string& edited) {
    if (!HaveLargeLog(state))
        return;
    if (access(edited.c_str(), R_OK) != 0) {
        state.SkipWithError(("no " + edited).c_str());
        return;
    }
    std::chrono::steady_clock::duration largeTime{}, editedTime{};
    std::chrono::nanoseconds largeCpu{}, editedCpu{};
    std::size_t largeRows = 0, editedRows = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const auto c0 = CpuNow();
        largeRows += QsoTable::Read(kLargeLog, RunColumns())->RowCount();
        const auto t1 = std::chrono::steady_clock::now();
        const auto c1 = CpuNow();
        // As many rows as the large log holds, so that both reads weigh the same.
        for (std::size_t rows = 0; rows < 200000;) {
            const std::size_t read = QsoTable::Read(edited, RunColumns())->RowCount();
            rows += read;
            editedRows += read;
        }
        const auto t2 = std::chrono::steady_clock::now();
        const auto c2 = CpuNow();
        largeTime += t1 - t0;
        editedTime += t2 - t1;
        largeCpu += c1 - c0;
        editedCpu += c2 - c1;
    }
    const auto perRow = [](auto time, std::size_t rows) {
        return Seconds(time) / static_cast<double>(rows);
    };
    state.counters["large_ns_per_row"] = 1e9 * perRow(largeTime, largeRows);
    state.counters["edited_ns_per_row"] = 1e9 * perRow(editedTime, editedRows);
    state.counters["ratio_per_row"] = perRow(editedTime, editedRows) / perRow(largeTime, largeRows);
    state.counters["large_cpu_ns_per_row"] = 1e9 * perRow(largeCpu, largeRows);
    state.counters["edited_cpu_ns_per_row"] = 1e9 * perRow(editedCpu, editedRows);
    state.counters["cpu_ratio_per_row"] =
        perRow(editedCpu, editedRows) / perRow(largeCpu, largeRows);
}
// Five rounds of edits on 3,000 contacts (1,842 moved rows, 1,179 deleted), and one light
// round on 5,000 (228 moved rows, 99 deleted).
BENCHMARK_CAPTURE(BM_EditedLogPerRow, heavy, std::string(CORVALE_LIVED_IN_LOG))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_EditedLogPerRow, light,
                  std::string(CORVALE_SOURCE_DIR
                              "/tests/shared/fixtures/lived-in/livedin-s5-light.mdb"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
