#pragma once

#include <QDialog>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "shell/CCorvaleApp.h"
#include "shell/WinePrefixSettings.h"

namespace corvale {
class CCorvaleView;
class CMainFrame;
}  // namespace corvale

namespace corvale::test {

QString Fixture(const QString& name);  // a file of the shared fixtures folder
// Empties the recent-file list, as a new user has it: each start-up adds to it.
void ForgetRecentLogs();

// The child of `parent` with that object name; the test ends when there is none.
template <typename T>
T* Child(const QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(name);
    if (child == nullptr)
        qFatal("no child %s", name);
    return child;
}

// A Wine prefix in a temporary folder: drive C:, the Windows folder, Dxb2007.ini and DX Atlas's
// uninstall entry as the two programs leave them.
class TestWinePrefix {
  public:
    TestWinePrefix();
    QString Path() const { return m_dir.path(); }
    // The local path of a file or folder on drive C: ("DXBase/log.mdb").
    QString OnDriveC(const QString& relative) const;
    void WriteIni(const QString& dataPath, const QString& pgmPath) const;
    void RegisterDxAtlas(const QString& installLocation) const;
    // Both programs installed in their usual folders on drive C:, DXBase's log `dataPath`.
    void InstallBoth(const QString& dataPath = "C:\\DXBase\\log.mdb") const;
    const WinePrefixSettings& Settings() const { return *m_settings; }

  private:
    QTemporaryDir m_dir;
    std::unique_ptr<WinePrefixSettings> m_settings;
};

// Corvale started as `corvale --log LOG --lst-dir DIR` starts it, DIR a temporary folder (or
// `lstSubfolder` below it): the main window and its form, when it started.
class StartedForm {
  public:
    explicit StartedForm(const QString& log, const QString& lstSubfolder = {});
    bool Started() const { return m_started; }
    QString Folder() const { return m_folder.path() + "/"; }
    CMainFrame& Frame() const;
    CCorvaleView& View() const;
    QString Text(const char* label) const;
    QStringList Lines(const char* list) const;
    // Presses the button and waits until the form is unlocked again.
    bool Run(const char* button) const;

  private:
    QTemporaryDir m_folder;
    TestWinePrefix m_prefix;
    CCorvaleApp m_app{m_prefix.Settings()};
    bool m_started = false;
};

// Answers every modal window that opens while it lives: message boxes are acknowledged and their
// texts kept; any other dialog is passed to `answer` (accepted when none is given).
class ModalAnswerer : public QObject {
  public:
    explicit ModalAnswerer(std::function<void(QDialog&)> answer = {});
    QStringList messages;      // texts of the message boxes, in order
    QStringList dialogTitles;  // captions of the other dialogs, in order

  private:
    void Answer();
    std::function<void(QDialog&)> m_answer;
    QTimer m_timer;
};

}  // namespace corvale::test
