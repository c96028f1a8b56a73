#include "shell/CPathsDlg.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <optional>
#include <tuple>

#include "res/CorvaleStrings.h"
#include "shell/DialogFont.h"
#include "shell/OwnFolders.h"
#include "shell/PathDiscovery.h"
#include "shell/RecentFileList.h"
#include "shell/WindowsSettings.h"
#include "ui_CPathsDlg.h"

namespace corvale {

// What a Browse button asks for.
struct BrowseKind {
    const char* caption;
    const char* filter;  // name filters separated by ";;", nullptr for a folder
    bool folder;         // a folder rather than a file
    bool written;        // a file that a run writes, which need not exist yet
};

namespace {

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

void TrimRight(QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    text.truncate(end);
}

}  // namespace

CPathsDlg::CPathsDlg(const WindowsSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_ui(std::make_unique<Ui::CPathsDlg>()) {
    m_ui->setupUi(this);
    setFont(DialogFont());
    connect(m_ui->buttonOk, &QPushButton::clicked, this, &CPathsDlg::accept);
    connect(m_ui->buttonCancel, &QPushButton::clicked, this, &QDialog::reject);
    ConnectBrowseButtons();
}

CPathsDlg::~CPathsDlg() = default;

void CPathsDlg::OnInitDialog() {
    setWindowIcon(QIcon(":/corvale.svg"));

    m_strSourceMdb = FromStd(ReadSourcePath(m_settings));
    TrimRight(m_strSourceMdb);
    if (m_strSourceMdb.isEmpty())
        m_strSourceMdb = RecentFileList().value(0);
    m_strRefdataMdb = FromStd(ReadRefdataPath(m_settings));
    TrimRight(m_strRefdataMdb);

    DiscoveredPaths dxAtlas;
    ReadDxAtlasPaths(m_settings, dxAtlas);
    const std::string problem = DxAtlasPathsProblem(m_settings, dxAtlas);
    if (dxAtlas.dxAtlasDir.empty())
        UseOwnFolders(dxAtlas, problem);
    else if (!problem.empty())
        QMessageBox::warning(nullptr, strings::kAppTitle,
                             FromStd(problem) + strings::kOvertypeDxAtlasPaths);
    m_strDxAtlasDir = FromStd(dxAtlas.dxAtlasDir);
    m_strLstDir = FromStd(dxAtlas.lstDir);
    TrimRight(m_strLstDir);
    m_strFfmaWkdPath = FromStd(dxAtlas.ffmaWkdPath);
    m_strFfmaCfmPath = FromStd(dxAtlas.ffmaCfmPath);
    m_strVuccWkdPath = FromStd(dxAtlas.vuccWkdPath);
    m_strVuccCfmPath = FromStd(dxAtlas.vuccCfmPath);

    m_strFfmaLstName = "FFMApins.lst";
    m_strWasLstName = "WASpins.lst";
    m_strDxccLstName = "DXCCpins.lst";
    m_strIotaLstName = "IOTApins.lst";
    m_strVuccLstName = "VUCCpins.lst";

    // Each value filled used to become the caption in turn; the last one, the FFMA CFM path as
    // composed, is the one the user sees.
    setWindowTitle(m_strFfmaCfmPath);
    TrimRight(m_strFfmaWkdPath);
    TrimRight(m_strFfmaCfmPath);

    UpdateData(false);
    m_ui->buttonOk->setFocus();
}

int CPathsDlg::DoModal() {
    OnInitDialog();
    return exec();
}

void CPathsDlg::UpdateData(bool saveAndValidate) {
    for (auto& [edit, member] : Bindings()) {
        if (saveAndValidate)
            *member = edit->text();
        else
            edit->setText(*member);
    }
}

void CPathsDlg::accept() {
    UpdateData(true);
    QDialog::accept();
}

void CPathsDlg::UseOwnFolders(DiscoveredPaths& dxAtlas, const std::string& problem) {
    const OwnFolders own = FindOwnFolders();
    UseOwnFoldersWithoutDxAtlas(dxAtlas, own);
    const QString pins = FromStd((own.pins / "").string());
    const QString squares = FromStd((own.squares / "").string());
    const std::optional<std::string> missingPrefix = m_settings.MissingSettingsPlace();
    const QString message =
        missingPrefix ? QString(strings::kNoWinePrefix).arg(FromStd(*missingPrefix), pins, squares)
                      : QString(strings::kDxAtlasNotFound).arg(FromStd(problem), pins, squares);
    QMessageBox::warning(nullptr, strings::kAppTitle, message);
}

void CPathsDlg::ConnectBrowseButtons() {
    static constexpr BrowseKind kLog{strings::kBrowseLog, strings::kLogFilter, false, false};
    static constexpr BrowseKind kRefdata{strings::kBrowseRefdata, strings::kRefdataFilter, false,
                                         false};
    static constexpr BrowseKind kLstDir{strings::kBrowseLstDir, nullptr, true, false};
    static constexpr BrowseKind kWkd{strings::kBrowseWkdPath, strings::kWkdFilter, false, true};
    static constexpr BrowseKind kCfm{strings::kBrowseCfmPath, strings::kCfmFilter, false, true};
    const std::tuple<QPushButton*, QLineEdit*, const BrowseKind*> buttons[] = {
        {m_ui->buttonBrowseSourceMdb, m_ui->editSourceMdb, &kLog},
        {m_ui->buttonBrowseRefdataMdb, m_ui->editRefdataMdb, &kRefdata},
        {m_ui->buttonBrowseLstDir, m_ui->editLstDir, &kLstDir},
        {m_ui->buttonBrowseFfmaWkdPath, m_ui->editFfmaWkdPath, &kWkd},
        {m_ui->buttonBrowseFfmaCfmPath, m_ui->editFfmaCfmPath, &kCfm},
    };
    for (const auto& [button, edit, kind] : buttons) {
        connect(button, &QPushButton::clicked, this,
                [this, edit = edit, kind = kind] { Browse(edit, *kind); });
    }
}

void CPathsDlg::Browse(QLineEdit* edit, const BrowseKind& kind) {
    QFileDialog dialog(this, kind.caption, StartFolder(edit->text()));
    dialog.setObjectName("fileDialog");
    if (kind.folder) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else if (kind.written) {
        // The file is replaced by a run, not now: nothing to confirm yet.
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (kind.filter != nullptr)
        dialog.setNameFilters(QString(kind.filter).split(";;"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QString chosen = dialog.selectedFiles().front();
    // The form joins the file names to the folder without a separator.
    if (kind.folder && !chosen.endsWith('/'))
        chosen += '/';
    edit->setText(chosen);
}

QString CPathsDlg::StartFolder(const QString& fieldText) const {
    if (!fieldText.trimmed().isEmpty()) {
        const QFileInfo field(FromStd(m_settings.PathToOpen(fieldText.toStdString()).string()));
        if (field.isDir())
            return field.absoluteFilePath();
        if (field.absoluteDir().exists())
            return field.absolutePath();
    }
    return QDir::homePath();
}

std::vector<std::pair<QLineEdit*, QString*>> CPathsDlg::Bindings() {
    return {
        {m_ui->editSourceMdb, &m_strSourceMdb},     {m_ui->editRefdataMdb, &m_strRefdataMdb},
        {m_ui->editFfmaWkdPath, &m_strFfmaWkdPath}, {m_ui->editFfmaCfmPath, &m_strFfmaCfmPath},
        {m_ui->editFfmaLstName, &m_strFfmaLstName}, {m_ui->editVuccLstName, &m_strVuccLstName},
        {m_ui->editDxccLstName, &m_strDxccLstName}, {m_ui->editIotaLstName, &m_strIotaLstName},
        {m_ui->editWasLstName, &m_strWasLstName},   {m_ui->editLstDir, &m_strLstDir},
    };
}

}  // namespace corvale
