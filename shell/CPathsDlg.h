#pragma once

#include <QDialog>
#include <QString>
#include <memory>
#include <utility>
#include <vector>

class QLineEdit;

namespace Ui {
class CPathsDlg;
}

namespace corvale {

class WindowsSettings;
struct DiscoveredPaths;
struct BrowseKind;

// Dialog 130: before the main window exists, the user confirms or over-types every path the
// program uses. It fills itself from DXBase's Dxb2007.ini and DX Atlas's registry entry.
class CPathsDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CPathsDlg(const WindowsSettings& settings, QWidget* parent = nullptr);
    ~CPathsDlg() override;

    // Fills the members from the two programs' settings, then the controls.
    void OnInitDialog();
    // OnInitDialog, then the modal run: QDialog::Accepted or QDialog::Rejected.
    int DoModal();
    // true: the edit controls into the members, as typed; false: the members into the controls.
    void UpdateData(bool saveAndValidate);

    QString m_strSourceMdb;
    QString m_strRefdataMdb;
    QString m_strFfmaWkdPath;
    QString m_strFfmaCfmPath;
    QString m_strFfmaLstName;
    QString m_strVuccLstName;
    QString m_strDxccLstName;
    QString m_strIotaLstName;
    QString m_strWasLstName;
    QString m_strLstDir;
    QString m_strDxAtlasDir;
    QString m_strVuccWkdPath;
    QString m_strVuccCfmPath;

  public slots:
    void accept() override;

  private:
    std::vector<std::pair<QLineEdit*, QString*>> Bindings();
    // Where the pin and squares files go without DX Atlas, and the one message that says so
    // (`problem`: why DX Atlas's folder was not found).
    void UseOwnFolders(DiscoveredPaths& dxAtlas, const std::string& problem);
    // The Browse buttons: a file or folder dialog that starts where the field points and puts
    // the chosen path into the field.
    void ConnectBrowseButtons();
    void Browse(QLineEdit* edit, const BrowseKind& kind);
    QString StartFolder(const QString& fieldText) const;

    const WindowsSettings& m_settings;
    std::unique_ptr<Ui::CPathsDlg> m_ui;
};

}  // namespace corvale
