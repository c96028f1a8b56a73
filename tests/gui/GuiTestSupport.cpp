#include "GuiTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>

namespace corvale::test {

QString Fixture(const QString& name) {
    return QStringLiteral(CORVALE_SHARED_DIR "/fixtures/") + name;
}

namespace {

void WriteText(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
}

// A Windows text as a value of Wine's registry file: backslashes doubled.
QByteArray RegistryText(const QString& text) {
    return text.toUtf8().replace("\\", "\\\\");
}

}  // namespace

TestWinePrefix::TestWinePrefix() {
    QDir prefix(m_dir.path());
    prefix.mkpath("drive_c/windows");
    prefix.mkpath("dosdevices");
    QFile::link("../drive_c", prefix.filePath("dosdevices/c:"));
    m_settings = std::make_unique<WinePrefixSettings>(m_dir.path().toStdString());
}

QString TestWinePrefix::OnDriveC(const QString& relative) const {
    return m_dir.filePath("drive_c/" + relative);
}

void TestWinePrefix::WriteIni(const QString& dataPath, const QString& pgmPath) const {
    WriteText(OnDriveC("windows/Dxb2007.ini"), "[Dir]\r\nDATAPATH=" + dataPath.toUtf8() +
                                                   "\r\nPGMPATH=" + pgmPath.toUtf8() + "\r\n");
}

void TestWinePrefix::RegisterDxAtlas(const QString& installLocation) const {
    WriteText(m_dir.filePath("system.reg"),
              "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
              "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\DX Atlas_is1] "
              "1700000000\n\"InstallLocation\"=\"" +
                  RegistryText(installLocation) + "\"\n");
}

void TestWinePrefix::CopyOntoDriveC(const QString& file, const QString& relative) const {
    const QString target = OnDriveC(relative);
    QDir().mkpath(QFileInfo(target).path());
    QFile::copy(file, target);
}

ModalAnswerer::ModalAnswerer(std::function<void(QDialog&)> answer) : m_answer(std::move(answer)) {
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::Answer);
    m_timer.start(10);
}

void ModalAnswerer::Answer() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible())
        return;
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        messages.append(box->text());
        box->accept();
        return;
    }
    dialogTitles.append(dialog->windowTitle());
    if (m_answer)
        m_answer(*dialog);
    else
        dialog->accept();
}

}  // namespace corvale::test
