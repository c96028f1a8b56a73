#include "shell/CPathsDlg.h"

#include <QIcon>
#include <QMessageBox>

#include "res/CorvaleStrings.h"
#include "shell/DialogFont.h"
#include "shell/PathDiscovery.h"
#include "ui_CPathsDlg.h"

namespace corvale {

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
}

CPathsDlg::~CPathsDlg() = default;

void CPathsDlg::OnInitDialog() {
    setWindowIcon(QIcon(":/corvale.svg"));

    m_strSourceMdb = FromStd(ReadSourcePath(m_settings));
    TrimRight(m_strSourceMdb);
    m_strRefdataMdb = FromStd(ReadRefdataPath(m_settings));
    TrimRight(m_strRefdataMdb);

    DiscoveredPaths dxAtlas;
    ReadDxAtlasPaths(m_settings, dxAtlas);
    if (const std::string problem = DxAtlasPathsProblem(m_settings, dxAtlas); !problem.empty()) {
        QMessageBox::warning(nullptr, strings::kAppTitle,
                             FromStd(problem) + strings::kOvertypeDxAtlasPaths);
    }
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
