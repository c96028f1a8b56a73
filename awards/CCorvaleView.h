#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "awards/AwardRun.h"
#include "logdb/CSRC2006PriPFX.h"
#include "logdb/CSRC2006QSO.h"

class QLabel;
class QListWidget;
class QPushButton;
class QCheckBox;
class QRadioButton;

namespace Ui {
class CCorvaleView;
}

namespace corvale {

class CAwardRunThread;
class CCorvaleApp;
class CCorvaleDoc;
class WindowsSettings;
struct CAwardRunOutcome;
struct CAwardRunProgress;

// The main form (template 101): the paths, one group per award with its button and counters,
// the two pin lists, the squares options and the VUCC band. Each award button runs the engine
// on a worker thread; the form is locked from the press until the controls come back.
class CCorvaleView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kUnlockDelayMs = 500;

    CCorvaleView(CCorvaleDoc& doc, const WindowsSettings& settings, QWidget* parent = nullptr);
    ~CCorvaleView() override;  // stops a run first, then closes the record sets

    // First showing: the paths from the application, the captions, the 50 MHz band.
    void OnInitialUpdate(const CCorvaleApp& app);
    CCorvaleSet* OnGetRecordset() const { return m_pSet; }

    // From the press of an award button until its controls come back.
    bool IsRunning() const { return m_bLocked; }
    // Asks a run in progress to stop; RunEnded follows.
    void StopRun();

    // The log that the next runs read (either kind), shown on the form.
    void SetSourceLog(const QString& path);

    // true: the controls into the members; false: the members into the controls.
    void UpdateData(bool saveAndValidate);

  signals:
    // The form is unlocked again after a run (completed, stopped or failed).
    void RunEnded();
    // A run completed: what it was asked and what it found (the map shows it).
    void RunCompleted(const corvale::CAwardRunOutcome& outcome);

  public slots:
    void OnFfma();
    void OnWasMixed();
    void OnDxccMixed();
    void OnIotaMixed();
    void OnVucc();
    void OnFfmaSquares();
    void OnVuccSquares();
    void OnBand50();
    void OnBand144();
    void OnBand222();
    void OnBand432();

  public:
    CCorvaleSet* m_pSet = nullptr;
    QString m_strFfmaTotal, m_strFfmaWorked, m_strFfmaConfirmed;
    bool m_bFfmaSquares = false;
    QString m_strWasTotal, m_strWasWorked, m_strWasConfirmed;
    QString m_strDxccTotal, m_strDxccWorked, m_strDxccConfirmed;
    QString m_strIotaTotal, m_strIotaWorked, m_strIotaConfirmed;
    QString m_strVuccTotal, m_strVuccWorked, m_strVuccConfirmed;
    bool m_bVuccSquares = false;
    int m_nBand = -1;            // index of the checked band button, -1 for none
    CSRC2006PriPFX m_priPfxSet;  // held for the form; never opened
    CSRC2006QSO m_qsoSet;        // walked by the runs, on the run's thread
    // The position of the last pin of each award, as the lists show it.
    QString m_strGridPin, m_strWasCoord, m_strDxccCoord, m_strIotaCoord;
    QString m_strSourceMdb, m_strRefdataMdb, m_strLstDir;
    QString m_strFfmaLstName, m_strWasLstName, m_strDxccLstName, m_strIotaLstName, m_strVuccLstName;
    QString m_strFfmaLstPath, m_strWasLstPath, m_strDxccLstPath, m_strIotaLstPath, m_strVuccLstPath;
    QString m_strFfmaWkdPath, m_strFfmaCfmPath, m_strVuccWkdPath, m_strVuccCfmPath;
    QString m_strVuccBand;
    ConfirmationSources m_confirmations;  // of an ADIF log; from the Confirmations menu

  private:
    // What tells one award's run from another's on the form.
    struct AwardForm {
        Award award;
        QPushButton* button;
        QString* total;
        QString* worked;
        QString* confirmed;
        const QString* lstPath;
        const bool* squares;  // nullptr: the award has no squares files
        const QString* wkdPath;
        const QString* cfmPath;
        QString* coordinate;
    };

    void RunAwardFromForm(Award award);
    AwardForm& FormOf(Award award);
    std::string PathToOpen(const QString& windowsPath) const;
    void LockForm(bool locked);
    void OnBand(const QRadioButton* button, int megahertz);
    void OnRunProgress(const CAwardRunProgress& progress);
    void OnRunEnded(const CAwardRunOutcome& outcome);
    void ShowCounters(const AwardCounters& counters);
    // Shows the log's warnings (a row count to repair) and the labels without a map position.
    void ReportRunNotes(const std::vector<std::string>& unplaced,
                        const std::vector<std::string>& logWarnings);
    void CloseRecordSets();

    std::unique_ptr<Ui::CCorvaleView> m_ui;
    CCorvaleDoc& m_doc;
    const WindowsSettings& m_settings;
    std::array<AwardForm, 5> m_awards;
    std::vector<std::pair<QLabel*, QString*>> m_counterBindings;
    std::vector<QWidget*> m_lockedControls;
    Award m_runningAward = Award::Was;
    bool m_bLocked = false;
    std::unique_ptr<CAwardRunThread> m_pRunThread;
};

}  // namespace corvale
