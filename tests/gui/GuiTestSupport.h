#pragma once

#include <QDialog>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "shell/WinePrefixSettings.h"

namespace corvale::test {

QString Fixture(const QString& name);  // a file of the shared fixtures folder

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
    void CopyOntoDriveC(const QString& file, const QString& relative) const;
    const WinePrefixSettings& Settings() const { return *m_settings; }

  private:
    QTemporaryDir m_dir;
    std::unique_ptr<WinePrefixSettings> m_settings;
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
