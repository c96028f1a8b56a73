#include "awards/CCorvaleView.h"

#include <QButtonGroup>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <exception>

#include "awards/CAwardRunThread.h"
#include "res/CorvaleStrings.h"
#include "shell/CCorvaleApp.h"
#include "shell/CCorvaleDoc.h"
#include "shell/DialogFont.h"
#include "shell/OwnFolders.h"
#include "shell/WindowsSettings.h"
#include "ui_CCorvaleView.h"

namespace corvale {

namespace {

void AppendLines(QListWidget* list, const QStringList& lines) {
    if (lines.isEmpty())
        return;
    list->addItems(lines);
    list->scrollToItem(list->item(list->count() - 1), QAbstractItemView::PositionAtTop);
}

}  // namespace

CCorvaleView::CCorvaleView(CCorvaleDoc& doc, const WindowsSettings& settings, QWidget* parent)
    : QWidget(parent),
      m_ui(std::make_unique<Ui::CCorvaleView>()),
      m_doc(doc),
      m_settings(settings) {
    m_ui->setupUi(this);
    setFont(DialogFont());

    Ui::CCorvaleView& ui = *m_ui;
    m_awards = {{
        {Award::Ffma, ui.buttonFfma, &m_strFfmaTotal, &m_strFfmaWorked, &m_strFfmaConfirmed,
         &m_strFfmaLstPath, &m_bFfmaSquares, &m_strFfmaWkdPath, &m_strFfmaCfmPath, &m_strGridPin},
        {Award::Was, ui.buttonWasMixed, &m_strWasTotal, &m_strWasWorked, &m_strWasConfirmed,
         &m_strWasLstPath, nullptr, nullptr, nullptr, &m_strWasCoord},
        {Award::Dxcc, ui.buttonDxccMixed, &m_strDxccTotal, &m_strDxccWorked, &m_strDxccConfirmed,
         &m_strDxccLstPath, nullptr, nullptr, nullptr, &m_strDxccCoord},
        {Award::Iota, ui.buttonIotaMixed, &m_strIotaTotal, &m_strIotaWorked, &m_strIotaConfirmed,
         &m_strIotaLstPath, nullptr, nullptr, nullptr, &m_strIotaCoord},
        {Award::Vucc, ui.buttonVucc, &m_strVuccTotal, &m_strVuccWorked, &m_strVuccConfirmed,
         &m_strVuccLstPath, &m_bVuccSquares, &m_strVuccWkdPath, &m_strVuccCfmPath, &m_strGridPin},
    }};
    m_counterBindings = {
        {ui.labelFfmaTotal, &m_strFfmaTotal},         {ui.labelFfmaWorked, &m_strFfmaWorked},
        {ui.labelFfmaConfirmed, &m_strFfmaConfirmed}, {ui.labelWasTotal, &m_strWasTotal},
        {ui.labelWasWorked, &m_strWasWorked},         {ui.labelWasConfirmed, &m_strWasConfirmed},
        {ui.labelDxccTotal, &m_strDxccTotal},         {ui.labelDxccWorked, &m_strDxccWorked},
        {ui.labelDxccConfirmed, &m_strDxccConfirmed}, {ui.labelIotaTotal, &m_strIotaTotal},
        {ui.labelIotaWorked, &m_strIotaWorked},       {ui.labelIotaConfirmed, &m_strIotaConfirmed},
        {ui.labelVuccTotal, &m_strVuccTotal},         {ui.labelVuccWorked, &m_strVuccWorked},
        {ui.labelVuccConfirmed, &m_strVuccConfirmed},
    };
    m_lockedControls = {ui.buttonFfma,       ui.buttonWasMixed, ui.buttonDxccMixed,
                        ui.buttonIotaMixed,  ui.buttonVucc,     ui.checkFfmaSquares,
                        ui.checkVuccSquares, ui.radioBand50,    ui.radioBand144,
                        ui.radioBand222,     ui.radioBand432};

    connect(ui.buttonFfma, &QPushButton::clicked, this, &CCorvaleView::OnFfma);
    connect(ui.buttonWasMixed, &QPushButton::clicked, this, &CCorvaleView::OnWasMixed);
    connect(ui.buttonDxccMixed, &QPushButton::clicked, this, &CCorvaleView::OnDxccMixed);
    connect(ui.buttonIotaMixed, &QPushButton::clicked, this, &CCorvaleView::OnIotaMixed);
    connect(ui.buttonVucc, &QPushButton::clicked, this, &CCorvaleView::OnVucc);
    connect(ui.checkFfmaSquares, &QCheckBox::clicked, this, &CCorvaleView::OnFfmaSquares);
    connect(ui.checkVuccSquares, &QCheckBox::clicked, this, &CCorvaleView::OnVuccSquares);
    connect(ui.radioBand50, &QRadioButton::clicked, this, &CCorvaleView::OnBand50);
    connect(ui.radioBand144, &QRadioButton::clicked, this, &CCorvaleView::OnBand144);
    connect(ui.radioBand222, &QRadioButton::clicked, this, &CCorvaleView::OnBand222);
    connect(ui.radioBand432, &QRadioButton::clicked, this, &CCorvaleView::OnBand432);
}

CCorvaleView::~CCorvaleView() {
    // The run walks m_qsoSet: it ends before the record sets close.
    m_pRunThread.reset();
    CloseRecordSets();
}

void CCorvaleView::OnInitialUpdate(const CCorvaleApp& app) {
    m_pSet = &m_doc.m_corvaleSet;
    m_doc.SetTitle(strings::kAppTitle);
    UpdateData(false);

    m_strSourceMdb = app.m_strSourceMdb;
    m_ui->labelSourceMdb->setText(m_strSourceMdb);
    m_strRefdataMdb = app.m_strRefdataMdb;
    m_ui->labelRefdataMdb->setText(m_strRefdataMdb);
    m_priPfxSet.SetDefaultDBName(m_strRefdataMdb.toStdString());
    m_strLstDir = app.m_strLstDir;
    // The folder carries its own separator; the names are joined to it as they stand.
    m_strFfmaLstName = app.m_strFfmaLstName;
    m_strFfmaLstPath = m_strLstDir + m_strFfmaLstName;
    m_ui->labelLstFile->setText(m_strFfmaLstPath);
    m_strWasLstName = app.m_strWasLstName;
    m_strWasLstPath = m_strLstDir + m_strWasLstName;
    m_strDxccLstName = app.m_strDxccLstName;
    m_strDxccLstPath = m_strLstDir + m_strDxccLstName;
    m_strIotaLstName = app.m_strIotaLstName;
    m_strIotaLstPath = m_strLstDir + m_strIotaLstName;
    m_strVuccLstName = app.m_strVuccLstName;
    m_strVuccLstPath = m_strLstDir + m_strVuccLstName;
    m_strFfmaWkdPath = app.m_strFfmaWkdPath;
    m_ui->labelWkdFile->setText(m_strFfmaWkdPath);
    m_strFfmaCfmPath = app.m_strFfmaCfmPath;
    m_ui->labelCfmFile->setText(m_strFfmaCfmPath);
    m_strVuccWkdPath = app.m_strVuccWkdPath;
    m_strVuccCfmPath = app.m_strVuccCfmPath;

    window()->setWindowTitle(strings::kAppTitle);
    m_ui->radioBand50->setChecked(true);
    m_strVuccBand = QString::fromUtf8(VuccBandCode(50));
}

void CCorvaleView::SetSourceLog(const QString& path) {
    m_strSourceMdb = path;
    m_ui->labelSourceMdb->setText(m_strSourceMdb);
}

void CCorvaleView::StopRun() {
    if (m_pRunThread)
        m_pRunThread->RequestStop();
}

void CCorvaleView::UpdateData(bool saveAndValidate) {
    const std::array<QRadioButton*, 4> bands{m_ui->radioBand50, m_ui->radioBand144,
                                             m_ui->radioBand222, m_ui->radioBand432};
    if (saveAndValidate) {
        m_bFfmaSquares = m_ui->checkFfmaSquares->isChecked();
        m_bVuccSquares = m_ui->checkVuccSquares->isChecked();
        const auto checked = std::find_if(
            bands.begin(), bands.end(), [](const QRadioButton* band) { return band->isChecked(); });
        m_nBand = checked == bands.end() ? -1 : static_cast<int>(checked - bands.begin());
        return;
    }
    for (auto& [label, text] : m_counterBindings)
        label->setText(*text);
    m_ui->checkFfmaSquares->setChecked(m_bFfmaSquares);
    m_ui->checkVuccSquares->setChecked(m_bVuccSquares);
    if (m_nBand >= 0) {
        bands.at(static_cast<std::size_t>(m_nBand))->setChecked(true);
        return;
    }
    // An exclusive group keeps one button checked; "none" needs the group opened for a moment.
    m_ui->bandGroup->setExclusive(false);
    for (QRadioButton* band : bands)
        band->setChecked(false);
    m_ui->bandGroup->setExclusive(true);
}

void CCorvaleView::OnFfma() {
    RunAwardFromForm(Award::Ffma);
}

void CCorvaleView::OnWasMixed() {
    RunAwardFromForm(Award::Was);
}

void CCorvaleView::OnDxccMixed() {
    RunAwardFromForm(Award::Dxcc);
}

void CCorvaleView::OnIotaMixed() {
    RunAwardFromForm(Award::Iota);
}

void CCorvaleView::OnVucc() {
    RunAwardFromForm(Award::Vucc);
}

void CCorvaleView::OnFfmaSquares() {
    m_bFfmaSquares = m_ui->checkFfmaSquares->isChecked();
}

void CCorvaleView::OnVuccSquares() {
    m_bVuccSquares = m_ui->checkVuccSquares->isChecked();
}

void CCorvaleView::OnBand50() {
    OnBand(m_ui->radioBand50, 50);
}

void CCorvaleView::OnBand144() {
    OnBand(m_ui->radioBand144, 144);
}

void CCorvaleView::OnBand222() {
    OnBand(m_ui->radioBand222, 222);
}

void CCorvaleView::OnBand432() {
    OnBand(m_ui->radioBand432, 432);
}

void CCorvaleView::OnBand(const QRadioButton* button, int megahertz) {
    if (button->isChecked())
        m_strVuccBand = QString::fromUtf8(VuccBandCode(megahertz));
}

void CCorvaleView::RunAwardFromForm(Award award) {
    if (m_bLocked)
        return;
    LockForm(true);
    m_runningAward = award;
    const AwardForm& form = FormOf(award);
    UpdateData(true);
    const bool squares = form.squares != nullptr && *form.squares;
    m_ui->labelLstFile->setText(*form.lstPath);
    m_ui->labelWkdFile->setText(squares ? *form.wkdPath : QString());
    m_ui->labelCfmFile->setText(squares ? *form.cfmPath : QString());
    m_ui->listConfirmed->clear();
    m_ui->listWorkedOnly->clear();
    m_ui->labelRunReport->clear();
    m_ui->labelRunReport->setToolTip({});
    ShowCounters({});

    RunRequest request;
    try {
        request.award = award;
        request.lstPath = PathToOpen(*form.lstPath);
        request.squares = squares;
        if (squares) {
            request.wkdPath = PathToOpen(*form.wkdPath);
            request.cfmPath = PathToOpen(*form.cfmPath);
        }
        request.vuccBand = m_strVuccBand.toStdString();
        m_qsoSet.SetDefaultDBName(PathToOpen(m_strSourceMdb));
        MakeOwnFoldersOf({request.lstPath, request.wkdPath, request.cfmPath});
        m_qsoSet.m_logOptions.confirmations = m_confirmations;
    } catch (const std::exception& error) {
        CAwardRunOutcome outcome;
        outcome.kind = CAwardRunOutcome::Kind::Failed;
        outcome.error = QString::fromUtf8(error.what());
        OnRunEnded(outcome);
        return;
    }
    m_pRunThread = std::make_unique<CAwardRunThread>(std::move(request), m_qsoSet);
    connect(m_pRunThread.get(), &CAwardRunThread::Progressed, this, &CCorvaleView::OnRunProgress);
    connect(m_pRunThread.get(), &CAwardRunThread::Ended, this, &CCorvaleView::OnRunEnded);
    m_pRunThread->start();
}

CCorvaleView::AwardForm& CCorvaleView::FormOf(Award award) {
    return *std::find_if(m_awards.begin(), m_awards.end(),
                         [award](const AwardForm& form) { return form.award == award; });
}

std::string CCorvaleView::PathToOpen(const QString& windowsPath) const {
    return m_settings.PathToOpen(windowsPath.toStdString()).string();
}

void CCorvaleView::LockForm(bool locked) {
    m_bLocked = locked;
    for (QWidget* control : m_lockedControls)
        control->setEnabled(!locked);
}

void CCorvaleView::OnRunProgress(const CAwardRunProgress& progress) {
    AppendLines(m_ui->listConfirmed, progress.confirmedLines);
    AppendLines(m_ui->listWorkedOnly, progress.workedOnlyLines);
    if (progress.walking) {
        m_ui->labelRunReport->setText(QString(strings::kWalkingLog)
                                          .arg(static_cast<qulonglong>(progress.position + 1))
                                          .arg(static_cast<qulonglong>(progress.count)));
        ShowCounters(progress.counters);
    } else {
        m_ui->labelRunReport->setText(
            QString(strings::kReadingLog).arg(static_cast<qulonglong>(progress.rowsRead)));
    }
}

void CCorvaleView::OnRunEnded(const CAwardRunOutcome& outcome) {
    m_pRunThread.reset();
    AwardForm& form = FormOf(m_runningAward);
    if (outcome.kind == CAwardRunOutcome::Kind::Completed) {
        // Shown once more after the walk, so that an empty log shows its counters too.
        ShowCounters(outcome.result.counters);
        if (outcome.lastCoordinate)
            *form.coordinate = *outcome.lastCoordinate;
        m_ui->labelRunReport->clear();
        ReportRunNotes(outcome.result.unplaced, outcome.result.logWarnings);
        emit RunCompleted(outcome);
        QTimer::singleShot(kUnlockDelayMs, this, [this] {
            LockForm(false);
            emit RunEnded();
        });
        return;
    }
    // No file has changed: lines and counts that went nowhere are taken off the form.
    m_ui->listConfirmed->clear();
    m_ui->listWorkedOnly->clear();
    for (QString* counter : {form.total, form.worked, form.confirmed})
        counter->clear();
    UpdateData(false);
    if (outcome.kind == CAwardRunOutcome::Kind::Failed) {
        m_ui->labelRunReport->setText(strings::kRunFailed);
        // Shown without a nested event loop: the form is already usable again behind it.
        auto* box =
            new QMessageBox(QMessageBox::Warning, strings::kAppTitle,
                            outcome.error + "\n\n" + strings::kRunFailed, QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    } else {
        m_ui->labelRunReport->setText(strings::kRunStopped);
    }
    LockForm(false);
    emit RunEnded();
}

void CCorvaleView::ShowCounters(const AwardCounters& counters) {
    const AwardForm& form = FormOf(m_runningAward);
    *form.total = QString::number(counters.total);
    *form.worked = QString::number(counters.workedOnly);
    *form.confirmed = QString::number(counters.confirmed);
    UpdateData(false);
}

void CCorvaleView::ReportRunNotes(const std::vector<std::string>& unplaced,
                                  const std::vector<std::string>& logWarnings) {
    QStringList parts;
    for (const std::string& warning : logWarnings)
        parts.append(QString::fromStdString(warning));
    if (!unplaced.empty()) {
        QStringList labels;
        for (const std::string& label : unplaced)
            labels.append(QString::fromStdString(label));
        parts.append(strings::kNoMapPosition + labels.join(", "));
    }
    if (parts.empty())
        return;
    const QString text = parts.join(" ");
    QLabel* report = m_ui->labelRunReport;
    report->setToolTip(text);
    report->setText(report->fontMetrics().elidedText(text, Qt::ElideRight, report->width()));
}

void CCorvaleView::CloseRecordSets() {
    if (m_pSet != nullptr && m_pSet->IsOpen())
        m_pSet->Close();
    if (m_qsoSet.IsOpen())
        m_qsoSet.Close();
}

}  // namespace corvale
