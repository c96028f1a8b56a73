#include "awards/CAwardRunThread.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <utility>

namespace corvale {

// Forwards what the engine reports to the form, batched: the form would not keep up with a
// signal per record of a large log.
class CAwardRunThread::Reporter : public RunObserver {
  public:
    explicit Reporter(CAwardRunThread& thread) : m_thread(thread) {}

    void OnRowsRead(std::size_t rows) override {
        m_pending.rowsRead = rows;
        ReportWhenDue();
    }

    void OnPin(const PinEvent& pin) override {
        QStringList& lines = pin.status == PinStatus::Confirmed ? m_pending.confirmedLines
                                                                : m_pending.workedOnlyLines;
        lines.append(QString::fromUtf8(pin.line.data(), static_cast<qsizetype>(pin.line.size())));
        m_lastCoordinate =
            QString::fromUtf8(pin.coordinate.data(), static_cast<qsizetype>(pin.coordinate.size()));
    }

    void OnRecord(const AwardCounters& counters, std::size_t position, std::size_t count) override {
        m_pending.counters = counters;
        m_pending.walking = true;
        m_pending.position = position;
        m_pending.count = count;
        ReportWhenDue();
    }

    void OnDiagnostics(std::string_view lines) override {
        std::fwrite(lines.data(), 1, lines.size(), stdout);
        if (!lines.empty() && lines.back() != '\n')
            std::fputc('\n', stdout);
    }

    bool StopRequested() override { return m_thread.m_bStop; }

    void Report() {
        emit m_thread.Progressed(m_pending);
        m_pending.confirmedLines.clear();
        m_pending.workedOnlyLines.clear();
        m_lastReport = Clock::now();
    }

    const std::optional<QString>& LastCoordinate() const { return m_lastCoordinate; }

  private:
    using Clock = std::chrono::steady_clock;

    void ReportWhenDue() {
        if (Clock::now() - m_lastReport >= std::chrono::milliseconds(kReportIntervalMs))
            Report();
    }

    CAwardRunThread& m_thread;
    CAwardRunProgress m_pending;
    std::optional<QString> m_lastCoordinate;
    Clock::time_point m_lastReport = Clock::now();
};

CAwardRunThread::CAwardRunThread(RunRequest request, CSRC2006QSO& qsoSet)
    : m_request(std::move(request)), m_qsoSet(qsoSet) {}

CAwardRunThread::~CAwardRunThread() {
    RequestStop();
    wait();
}

void CAwardRunThread::run() {
    Reporter reporter(*this);
    CAwardRunOutcome outcome;
    outcome.request = m_request;
    outcome.logPath = m_qsoSet.GetDefaultDBName();
    try {
        outcome.result = RunAward(m_request, m_qsoSet, reporter);
        outcome.kind = outcome.result.stopped ? CAwardRunOutcome::Kind::Stopped
                                              : CAwardRunOutcome::Kind::Completed;
    } catch (const std::exception& error) {
        if (m_qsoSet.IsOpen())
            m_qsoSet.Close();
        outcome.kind = m_bStop ? CAwardRunOutcome::Kind::Stopped : CAwardRunOutcome::Kind::Failed;
        outcome.error = QString::fromUtf8(error.what());
    }
    std::fflush(stdout);
    reporter.Report();
    outcome.lastCoordinate = reporter.LastCoordinate();
    emit Ended(outcome);
}

}  // namespace corvale
