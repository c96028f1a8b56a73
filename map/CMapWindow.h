#pragma once

#include <QFutureWatcher>
#include <QMainWindow>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "awards/AwardRun.h"
#include "awards/EntityContacts.h"
#include "export/AwardExport.h"
#include "map/MapPicture.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidget;

namespace corvale {

class CMapWidget;

// The "Map" window beside the main form: the last completed run of the award chosen in it,
// which follows each new run, in either projection, with the contacts of the entity clicked.
class CMapWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit CMapWindow(QWidget* parent = nullptr);
    ~CMapWindow() override;  // waits for a read of contacts to end

    // A run that the form completed on the log at `logPath`: kept as its award's last run and
    // shown.
    void ShowRun(const RunRequest& request, const std::string& logPath, RunResult result);

    // Writes the map as the window shows it; the format follows the name's extension (PNG
    // when it has none of svg, pdf). False, with a message shown, when it cannot be written.
    bool SaveMap(const QString& path);

  signals:
    // A read of contacts ended and the list shows them (or why they could not be read).
    void ContactsShown();

  private:
    struct ShownRun {
        RunRequest request;
        std::string logPath;
        RunResult result;
        int bandMegahertz = 0;  // VUCC
    };
    struct ContactsRead {
        std::string key;
        std::vector<EntityContact> contacts;
        QString error;
    };

    void ShowChosenAward();
    void ApplyProjection();
    void OnSaveMapAs();
    void OnEntityClicked(const AwardEntity& entity);
    void OnContactsRead();

    std::map<Award, ShownRun> m_runs;
    std::optional<ExportedAward> m_shown;  // views the entities of one of m_runs
    CMapWidget* m_map;
    QComboBox* m_comboAward;
    QComboBox* m_comboProjection;
    QLineEdit* m_editHome;
    QCheckBox* m_checkNeeded;
    QLabel* m_labelHover;
    QLabel* m_labelStatus;
    QLabel* m_labelContacts;
    QTreeWidget* m_listContacts;
    QFutureWatcher<ContactsRead> m_contactsRead;
    std::string m_wantedKey;  // the entity whose contacts were asked for last
};

}  // namespace corvale
