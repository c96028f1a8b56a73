#include "shell/CCorvaleApp.h"

#include <QMessageBox>

#include "awards/AwardRun.h"
#include "awards/CCorvaleView.h"
#include "logdb/DatabaseVersion.h"
#include "logdb/DbError.h"
#include "logdb/LogFormat.h"
#include "res/CorvaleStrings.h"
#include "shell/CCorvaleCommandLine.h"
#include "shell/CCorvaleDoc.h"
#include "shell/CMainFrame.h"
#include "shell/CPathsDlg.h"
#include "shell/RecentFileList.h"
#include "shell/WindowsSettings.h"

namespace corvale {

CCorvaleApp::CCorvaleApp(const WindowsSettings& settings) : m_settings(settings) {}

CCorvaleApp::~CCorvaleApp() = default;

bool CCorvaleApp::InitInstance(const CCorvaleCommandLine& commandLine) {
    if (commandLine.SkipsPathsDialog()) {
        if (commandLine.lstDir.isEmpty()) {
            // Only the log named: the other paths as the dialog would fill them.
            CPathsDlg pathsDlg(m_settings);
            pathsDlg.OnInitDialog();
            TakeDialogPaths(pathsDlg);
            m_strSourceMdb = commandLine.sourceMdb;
        } else {
            TakePaths(commandLine);
        }
        if (!CheckDatabaseVersion())
            return false;
    } else {
        // A log that cannot be used brings the dialog back with what was typed; Cancel ends.
        do {
            if (!RunPathsDialog())
                return false;
        } while (!CheckDatabaseVersion());
        m_pPathsDlg.reset();
    }
    AddToRecentFileList(
        QString::fromStdString(m_settings.PathToOpen(m_strSourceMdb.toStdString()).string()));
    CreateMainWindow();
    return true;
}

bool CCorvaleApp::RunPathsDialog() {
    int result = 0;
    if (m_pPathsDlg == nullptr) {
        m_pPathsDlg = std::make_unique<CPathsDlg>(m_settings);
        result = m_pPathsDlg->DoModal();
    } else {
        result = m_pPathsDlg->exec();  // once more, as the user left it
    }
    if (result != QDialog::Accepted)
        return false;
    TakeDialogPaths(*m_pPathsDlg);
    return true;
}

void CCorvaleApp::TakeDialogPaths(const CPathsDlg& pathsDlg) {
    m_strSourceMdb = pathsDlg.m_strSourceMdb;
    m_strRefdataMdb = pathsDlg.m_strRefdataMdb;
    m_strLstDir = pathsDlg.m_strLstDir;
    m_strFfmaLstName = pathsDlg.m_strFfmaLstName;
    m_strWasLstName = pathsDlg.m_strWasLstName;
    m_strDxccLstName = pathsDlg.m_strDxccLstName;
    m_strIotaLstName = pathsDlg.m_strIotaLstName;
    m_strVuccLstName = pathsDlg.m_strVuccLstName;
    m_strFfmaWkdPath = pathsDlg.m_strFfmaWkdPath;
    m_strFfmaCfmPath = pathsDlg.m_strFfmaCfmPath;
    m_strVuccWkdPath = pathsDlg.m_strVuccWkdPath;
    m_strVuccCfmPath = pathsDlg.m_strVuccCfmPath;
}

void CCorvaleApp::TakePaths(const CCorvaleCommandLine& commandLine) {
    m_strSourceMdb = commandLine.sourceMdb;
    m_strLstDir = commandLine.lstDir;
    const auto name = [](Award award) { return QString::fromUtf8(DefaultLstName(award)); };
    m_strFfmaLstName = name(Award::Ffma);
    m_strWasLstName = name(Award::Was);
    m_strDxccLstName = name(Award::Dxcc);
    m_strIotaLstName = name(Award::Iota);
    m_strVuccLstName = name(Award::Vucc);
    m_strFfmaWkdPath = m_strLstDir + "FFMAsquares.wkd";
    m_strFfmaCfmPath = m_strLstDir + "FFMAsquares.cfm";
    m_strVuccWkdPath = m_strLstDir + "VUCCsquares.wkd";
    m_strVuccCfmPath = m_strLstDir + "VUCCsquares.cfm";
}

bool CCorvaleApp::CheckDatabaseVersion() {
    try {
        return CheckLog(m_settings.PathToOpen(m_strSourceMdb.toStdString()).string(), nullptr);
    } catch (const std::exception& error) {
        QMessageBox::warning(nullptr, strings::kAppTitle, QString::fromUtf8(error.what()));
    }
    return false;
}

bool CCorvaleApp::CheckLog(const std::string& path, QWidget* parent) {
    try {
        // [VERSION] belongs to DXBase logs only.
        if (DetectLogFormat(path) != LogFormat::Access || corvale::CheckDatabaseVersion(path))
            return true;
        QMessageBox::warning(parent, strings::kAppTitle, strings::kVersionError);
    } catch (const DbError& error) {
        QMessageBox::warning(parent, strings::kAppTitle, QString::fromUtf8(error.what()));
    }
    return false;
}

void CCorvaleApp::CreateMainWindow() {
    m_pDocument =
        std::make_unique<CCorvaleDoc>(m_settings.PathToOpen(m_strSourceMdb.toStdString()).string());
    m_pMainWnd = std::make_unique<CMainFrame>();
    m_pMainWnd->PreCreateWindow();
    auto* view = new CCorvaleView(*m_pDocument, m_settings);
    m_pMainWnd->SetView(view);
    view->OnInitialUpdate(*this);
    m_pMainWnd->ResizeParentToFit();
    m_pMainWnd->show();
}

}  // namespace corvale
