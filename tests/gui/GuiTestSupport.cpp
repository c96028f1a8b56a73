#include "GuiTestSupport.h"

#include "TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>

#include "awards/CCorvaleView.h"
#include "res/CorvaleStrings.h"
#include "shell/CCorvaleCommandLine.h"
#include "shell/CMainFrame.h"

namespace {

// Before any test runs, the user's data folder and the framework's settings point into a
// temporary folder, so that no test reads or changes the real user's. (Every GUI test uses this
// file, so its start-up function is always linked.)
void UseTemporaryUserFolders() {
    static QTemporaryDir folder;
    qputenv("XDG_DATA_HOME", folder.filePath("data").toUtf8());
    qputenv("XDG_CONFIG_HOME", folder.filePath("config").toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.filePath("config"));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(UseTemporaryUserFolders)

namespace corvale::test {

QString Fixture(const QString& name) {
    return QStringLiteral(CORVALE_SHARED_DIR "/fixtures/") + name;
}

void ForgetRecentLogs() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, strings::kSettingsKey,
              strings::kAppTitle)
        .clear();
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

void TestWinePrefix::InstallBoth(const QString& dataPath) const {
    WriteIni(dataPath, "C:\\DXBase");
    RegisterDxAtlas("C:\\DX Atlas\\");
}

StartedForm::StartedForm(const QString& log, const QString& lstSubfolder) {
    CCorvaleCommandLine commandLine;
    commandLine.sourceMdb = log;
    commandLine.lstDir = Folder() + lstSubfolder;
    m_started = m_app.InitInstance(commandLine);
}

CMainFrame& StartedForm::Frame() const {
    if (!m_started)
        qFatal("Corvale did not start");
    return *m_app.GetMainWnd();
}

CCorvaleView& StartedForm::View() const {
    return *Frame().GetActiveView();
}

QString StartedForm::Text(const char* label) const {
    return Child<QLabel>(View(), label)->text();
}

QStringList StartedForm::Lines(const char* list) const {
    QStringList lines;
    auto* widget = Child<QListWidget>(View(), list);
    for (int row = 0; row < widget->count(); ++row)
        lines.append(widget->item(row)->text());
    return lines;
}

bool StartedForm::Run(const char* button) const {
    QSignalSpy ended(&View(), &CCorvaleView::RunEnded);
    Child<QPushButton>(View(), button)->click();
    return ended.count() > 0 || ended.wait(120000);
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
