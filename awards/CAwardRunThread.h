#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QThread>
#include <atomic>
#include <cstddef>
#include <optional>

#include "awards/AwardRun.h"

namespace corvale {

// What a run has done since its previous report.
struct CAwardRunProgress {
    QStringList confirmedLines;   // pin lines in walk order
    QStringList workedOnlyLines;  // pin lines in walk order
    AwardCounters counters;       // so far; valid once walking
    bool walking = false;         // false while the log is still being read
    std::size_t rowsRead = 0;     // while the log is being read
    std::size_t position = 0;     // while walking: the record's 0-based position in the walk
    std::size_t count = 0;        // while walking: the records to walk
};

struct CAwardRunOutcome {
    enum class Kind { Completed, Stopped, Failed };
    Kind kind = Kind::Completed;
    RunRequest request;                     // what was run
    std::string logPath;                    // the log it read
    RunResult result;                       // Completed
    std::optional<QString> lastCoordinate;  // of the last pin listed, when there was one
    QString error;                          // Failed: names the path and the reason
};

// Runs one award on a thread of its own, so that the window stays painted and answers during a
// long walk. It reports through queued signals, at most every kReportInterval; the record set is
// used by this thread alone until Ended has been emitted.
class CAwardRunThread : public QThread {
    Q_OBJECT
  public:
    static constexpr int kReportIntervalMs = 50;

    CAwardRunThread(RunRequest request, CSRC2006QSO& qsoSet);
    ~CAwardRunThread() override;  // stops the run and waits for it

    // The run ends at the next record (or during the read of the log) and changes no file.
    void RequestStop() { m_bStop = true; }

  signals:
    void Progressed(const corvale::CAwardRunProgress& progress);
    void Ended(const corvale::CAwardRunOutcome& outcome);

  protected:
    void run() override;

  private:
    class Reporter;

    const RunRequest m_request;
    CSRC2006QSO& m_qsoSet;
    std::atomic<bool> m_bStop = false;
};

}  // namespace corvale

Q_DECLARE_METATYPE(corvale::CAwardRunProgress)
Q_DECLARE_METATYPE(corvale::CAwardRunOutcome)
