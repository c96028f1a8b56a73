#include "GuiTestSupport.h"

#include "TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>

namespace corvale::test {

QString Fixture(const QString& name) {
    return QStringLiteral(CORVALE_SHARED_DIR "/fixtures/") + name;
}

TestWinePrefix::TestWinePrefix() {
    MakeWinePrefix(m_dir.path().toStdString());
    QDir(m_dir.path()).mkpath("drive_c/windows");
    m_settings = std::make_unique<WinePrefixSettings>(m_dir.path().toStdString());
}

QString TestWinePrefix::OnDriveC(const QString& relative) const {
    return m_dir.filePath("drive_c/" + relative);
}

void TestWinePrefix::WriteIni(const QString& dataPath, const QString& pgmPath) const {
    WriteDxBaseIni(m_dir.path().toStdString(), dataPath.toStdString(), pgmPath.toStdString());
}

void TestWinePrefix::RegisterDxAtlas(const QString& installLocation) const {
    test::RegisterDxAtlas(m_dir.path().toStdString(), installLocation.toStdString());
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
