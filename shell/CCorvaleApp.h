#pragma once

#include <QString>
#include <memory>
#include <string>

class QWidget;

namespace corvale {

class CCorvaleDoc;
class CMainFrame;
class CPathsDlg;
struct CCorvaleCommandLine;
class WindowsSettings;

// The application: start-up and the twelve paths that the form works with. Any failure before
// the main window is shown ends the program.
class CCorvaleApp {
  public:
    explicit CCorvaleApp(const WindowsSettings& settings);
    ~CCorvaleApp();
    CCorvaleApp(const CCorvaleApp&) = delete;
    CCorvaleApp& operator=(const CCorvaleApp&) = delete;

    // The paths (dialog or command line), the log's check, then the frame, document and form;
    // the log joins the recent-file list. False: the program ends; a message has been shown
    // where one is due.
    bool InitInstance(const CCorvaleCommandLine& commandLine);
    // The paths dialog; shown again, it keeps what the user typed. False: cancelled, and no
    // path has changed.
    bool RunPathsDialog();
    // Accepts the source log when it is an ADIF log or a DXBase log whose [VERSION] reads 6;
    // otherwise shows why.
    bool CheckDatabaseVersion();
    // The same for any log file (the path to open): File > Open Log asks it too.
    static bool CheckLog(const std::string& path, QWidget* parent);

    CMainFrame* GetMainWnd() const { return m_pMainWnd.get(); }

    QString m_strSourceMdb;
    QString m_strRefdataMdb;
    QString m_strLstDir;
    QString m_strFfmaLstName;
    QString m_strWasLstName;
    QString m_strDxccLstName;
    QString m_strIotaLstName;
    QString m_strVuccLstName;
    QString m_strFfmaWkdPath;
    QString m_strFfmaCfmPath;
    QString m_strVuccWkdPath;
    QString m_strVuccCfmPath;

  private:
    void TakePaths(const CCorvaleCommandLine& commandLine);
    void TakeDialogPaths(const CPathsDlg& pathsDlg);
    void CreateMainWindow();

    const WindowsSettings& m_settings;
    std::unique_ptr<CPathsDlg> m_pPathsDlg;  // during start-up only
    std::unique_ptr<CCorvaleDoc> m_pDocument;
    std::unique_ptr<CMainFrame> m_pMainWnd;  // destroyed before the document its form serves
};

}  // namespace corvale
