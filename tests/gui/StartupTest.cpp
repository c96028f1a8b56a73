// Start-up: the paths dialog, the check of the log, then the main window.
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include "GuiTestSupport.h"
#include "awards/CCorvaleView.h"
#include "res/CorvaleStrings.h"
#include "shell/CCorvaleApp.h"
#include "shell/CCorvaleCommandLine.h"
#include "shell/CMainFrame.h"

using namespace corvale;
using corvale::test::Fixture;
using corvale::test::ModalAnswerer;
using corvale::test::TestWinePrefix;

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void cancelInThePathsDialogEndsWithoutMessage();
    void okStartsAndRunsWithThePathsOfTheWinePrefix();
    void logCheck_data();
    void logCheck();
    void commandLine_data();
    void commandLine();
};

void StartupTest::cancelInThePathsDialogEndsWithoutMessage() {
    TestWinePrefix prefix;
    prefix.WriteIni("C:\\DXBase\\demo-log.mdb", "C:\\DXBase");
    prefix.RegisterDxAtlas("C:\\DX Atlas\\");
    prefix.CopyOntoDriveC(Fixture("demo-log.mdb"), "DXBase/demo-log.mdb");
    ModalAnswerer answerer([](QDialog& dialog) { dialog.reject(); });

    CCorvaleApp app(prefix.Settings());
    QVERIFY(!app.InitInstance(CCorvaleCommandLine{}));
    QCOMPARE(answerer.dialogTitles.size(), 1);
    QVERIFY(answerer.messages.isEmpty());
    QVERIFY(app.GetMainWnd() == nullptr);
    QVERIFY(app.m_strSourceMdb.isEmpty());
}

void StartupTest::okStartsAndRunsWithThePathsOfTheWinePrefix() {
    TestWinePrefix prefix;
    prefix.WriteIni("C:\\DXBase\\demo-log.mdb", "C:\\DXBase");
    prefix.RegisterDxAtlas("C:\\DX Atlas\\");
    prefix.CopyOntoDriveC(Fixture("demo-log.mdb"), "DXBase/demo-log.mdb");
    ModalAnswerer answerer;

    CCorvaleApp app(prefix.Settings());
    QVERIFY(app.InitInstance(CCorvaleCommandLine{}));
    QVERIFY(answerer.messages.isEmpty());
    QCOMPARE(app.m_strSourceMdb, QString("C:\\DXBase\\demo-log.mdb"));
    QCOMPARE(app.m_strLstDir, QString("C:\\DX Atlas\\Pins\\"));
    CMainFrame* frame = app.GetMainWnd();
    QVERIFY(frame != nullptr && frame->isVisible());
    QCOMPARE(frame->windowTitle(), QString(strings::kAppTitle));
    CCorvaleView* view = frame->GetActiveView();
    QCOMPARE(view->findChild<QLabel*>("labelSourceMdb")->text(),
             QString("C:\\DXBase\\demo-log.mdb"));

    // The Windows paths shown lead to the files inside the prefix.
    QDir().mkpath(prefix.OnDriveC("DX Atlas/Pins"));
    QSignalSpy ended(view, &CCorvaleView::RunEnded);
    view->OnWasMixed();
    QVERIFY(ended.wait(60000));
    QVERIFY(answerer.messages.isEmpty());
    QCOMPARE(view->findChild<QLabel*>("labelLstFile")->text(),
             QString("C:\\DX Atlas\\Pins\\WASpins.lst"));
    QVERIFY(QFileInfo(prefix.OnDriveC("DX Atlas/Pins/WASpins.lst")).size() > 0);
}

void StartupTest::logCheck_data() {
    QTest::addColumn<QString>("log");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QString>("message");  // a text in the one message shown
    const QString versionError = strings::kVersionError;
    QTest::newRow("version 6") << Fixture("demo-log.mdb") << true << QString();
    QTest::newRow("version 06") << Fixture("version-06.mdb") << true << QString();
    QTest::newRow("version ' 6'") << Fixture("version-blank6.mdb") << true << QString();
    QTest::newRow("version 6.1") << Fixture("version-6.1.mdb") << true << QString();
    QTest::newRow("version 60") << Fixture("version-60.mdb") << false << versionError;
    QTest::newRow("version 7") << Fixture("version-7.mdb") << false << versionError;
    QTest::newRow("version empty") << Fixture("version-empty.mdb") << false << versionError;
    QTest::newRow("version A6") << Fixture("version-letter.mdb") << false << versionError;
    QTest::newRow("no version row") << Fixture("version-no-rows.mdb") << false << versionError;
    QTest::newRow("no version table") << Fixture("no-version-table.mdb") << false << versionError;
    // The database layer's description names the file.
    QTest::newRow("missing log") << Fixture("no-such-log.mdb") << false
                                 << QString("no-such-log.mdb");
    QTest::newRow("not a database") << Fixture("garbage.mdb") << false << QString("garbage.mdb");
}

void StartupTest::logCheck() {
    QFETCH(QString, log);
    QFETCH(bool, starts);
    QFETCH(QString, message);
    QTemporaryDir pins;
    TestWinePrefix prefix;
    ModalAnswerer answerer;
    CCorvaleCommandLine commandLine;
    commandLine.sourceMdb = log;
    commandLine.lstDir = pins.path() + "/";

    CCorvaleApp app(prefix.Settings());
    QCOMPARE(app.InitInstance(commandLine), starts);
    QCOMPARE(app.GetMainWnd() != nullptr, starts);
    if (starts) {
        QVERIFY(answerer.messages.isEmpty());
        return;
    }
    QCOMPARE(answerer.messages.size(), 1);
    QVERIFY2(answerer.messages.front().contains(message), qPrintable(answerer.messages.front()));
}

void StartupTest::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("skipsPathsDialog");
    QTest::addColumn<QString>("lstDir");
    QTest::newRow("none") << QStringList{} << true << false << QString();
    QTest::newRow("prefix and screenshot")
        << QStringList{"--wine-prefix", "/p", "--screenshot", "s.png"} << true << false
        << QString();
    // A folder given on the command line is joined to the file names with a separator.
    QTest::newRow("log and folder") << QStringList{"--source-mdb", "l.mdb", "--lst-dir", "pins"}
                                    << true << true << QString("pins/");
    QTest::newRow("folder with its slash")
        << QStringList{"--source-mdb", "l.mdb", "--lst-dir", "pins/"} << true << true
        << QString("pins/");
    QTest::newRow("log without folder")
        << QStringList{"--source-mdb", "l.mdb"} << false << false << QString();
    QTest::newRow("unknown option") << QStringList{"--band", "50"} << false << false << QString();
    QTest::newRow("argument") << QStringList{"log.mdb"} << false << false << QString();
}

void StartupTest::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, valid);
    QFETCH(bool, skipsPathsDialog);
    QFETCH(QString, lstDir);
    const std::optional<CCorvaleCommandLine> parsed =
        ParseCommandLine(QStringList{"corvale"} + arguments);
    QCOMPARE(parsed.has_value(), valid);
    if (!parsed)
        return;
    QCOMPARE(parsed->SkipsPathsDialog(), skipsPathsDialog);
    QCOMPARE(parsed->lstDir, lstDir);
}

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
