#include "AwardTestLog.h"

namespace corvale::test {

std::shared_ptr<const QsoTable> MakeTable(const std::vector<Qso>& log) {
    QsoTableBuilder builder(AwardColumnsRead());
    for (const Qso& q : log) {
        builder.AddRow()
            .Set(QsoColumn::Prefix, q.prefix)
            .Set(QsoColumn::State, q.state)
            .Set(QsoColumn::Iota, q.iota)
            .Set(QsoColumn::Grid, q.grid)
            .Set(QsoColumn::Band, q.band)
            .Set(QsoColumn::Date, q.date)
            .Set(QsoColumn::Sat, q.sat)
            .Set(QsoColumn::Confirm, q.confirm)
            .Set(QsoColumn::Valid, q.valid);
    }
    return builder.Build();
}

namespace {

class Recorder : public RunObserver {
  public:
    explicit Recorder(RecordedRun& run) : run_(run) {}
    void OnPin(const PinEvent& pin) override {
        auto& list = pin.status == PinStatus::Confirmed ? run_.confirmedList : run_.workedOnlyList;
        list.emplace_back(pin.line);
    }
    void OnRecord(const AwardCounters&, std::size_t, std::size_t) override { ++run_.records; }
    void OnDiagnostics(std::string_view lines) override { run_.diagnostics += lines; }

  private:
    RecordedRun& run_;
};

}  // namespace

RecordedRun RunLog(const RunRequest& request, const std::vector<Qso>& log) {
    CSRC2006QSO qsoSet;
    qsoSet.m_strSort = std::string(AwardSortText(request.award));
    qsoSet.Open(MakeTable(log));
    RecordedRun run;
    Recorder recorder(run);
    RunResult result = RunAward(request, qsoSet, recorder);
    run.counters = result.counters;
    run.unplaced = result.unplaced;
    run.entities = result.entities;
    return run;
}

}  // namespace corvale::test
