// Start-up: the paths dialog, the check of the log, then the main window.
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "GuiTestSupport.h"
#include "awards/CCorvaleView.h"
#include "res/CorvaleStrings.h"
#include "shell/CCorvaleApp.h"
#include "shell/CCorvaleCommandLine.h"
#include "shell/CMainFrame.h"
#include "shell/RecentFileList.h"

using namespace corvale;
using corvale::test::Fixture;
using corvale::test::ModalAnswerer;
using corvale::test::TestWinePrefix;

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void pathsDialog_data();
    void pathsDialog();
    void logCheck_data();
    void logCheck();
    void commandLine_data();
    void commandLine();
    void failedOpenReturnsToTheDialog_data();
    void failedOpenReturnsToTheDialog();
    void recentLogsAfterTwoOpens();
    void firstRunWithoutWine();
    void logOptionTakesTheDialogsOtherPaths();
    void openLogAndConfirmations();
};

void StartupTest::pathsDialog_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK starts with the paths of the Wine prefix") << true;
    QTest::newRow("Cancel ends without message") << false;
}

void StartupTest::pathsDialog() {
    QFETCH(bool, ok);
    TestWinePrefix prefix;
    prefix.WriteIni("C:\\DXBase\\demo-log.mdb", "C:\\DXBase");
    prefix.RegisterDxAtlas("C:\\DX Atlas\\");
    prefix.CopyOntoDriveC(Fixture("demo-log.mdb"), "DXBase/demo-log.mdb");
    ModalAnswerer answerer([ok](QDialog& dialog) { ok ? dialog.accept() : dialog.reject(); });

    CCorvaleApp app(prefix.Settings());
    QCOMPARE(app.InitInstance(CCorvaleCommandLine{}), ok);
    QCOMPARE(answerer.dialogTitles.size(), 1);
    QVERIFY(answerer.messages.isEmpty());
    if (!ok) {
        QVERIFY(app.GetMainWnd() == nullptr);
        QVERIFY(app.m_strSourceMdb.isEmpty());
        return;
    }
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
    // The log's version must read as the number 6.
    for (const char* file : {"demo-log", "version-06", "version-blank6", "version-6.1"})
        QTest::newRow(file) << Fixture(QString(file) + ".mdb") << true << QString();
    for (const char* file : {"version-60", "version-7", "version-empty", "version-letter",
                             "version-no-rows", "no-version-table"})
        QTest::newRow(file) << Fixture(QString(file) + ".mdb") << false
                            << QString(strings::kVersionError);
    // The database layer's description names the file.
    QTest::newRow("missing log") << Fixture("no-such-log.mdb") << false
                                 << QString("no-such-log.mdb");
    QTest::newRow("not a database") << Fixture("garbage.mdb") << false << QString("garbage.mdb");
    // An ADIF log has no [VERSION]; a text file that is neither kind is named.
    QTest::newRow("ADIF log") << Fixture("adif/sample-lotw.adi") << true << QString();
    QTest::newRow("ADX log") << Fixture("adif/sample-adx.adx") << true << QString();
    QTest::newRow("neither kind") << Fixture("Refdata.tsv") << false << QString("Refdata.tsv");
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
    QTest::newRow("log of either kind")
        << QStringList{"--log", "l.adi"} << true << true << QString();
    QTest::newRow("log and folder")
        << QStringList{"--log", "l.adi", "--lst-dir", "pins"} << true << true << QString("pins/");
    QTest::newRow("log named twice")
        << QStringList{"--log", "l.adi", "--source-mdb", "l.mdb", "--lst-dir", "pins"} << false
        << false << QString();
    QTest::newRow("folder without log")
        << QStringList{"--lst-dir", "pins"} << false << false << QString();
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

void StartupTest::failedOpenReturnsToTheDialog_data() {
    QTest::addColumn<QString>("secondLog");  // typed the second time; empty: Cancel
    QTest::addColumn<bool>("starts");
    QTest::newRow("Cancel then ends") << QString() << false;
    QTest::newRow("a good log then starts") << Fixture("demo-log.mdb") << true;
}

void StartupTest::failedOpenReturnsToTheDialog() {
    QFETCH(QString, secondLog);
    QFETCH(bool, starts);
    TestWinePrefix prefix;
    prefix.RegisterDxAtlas("C:\\DX Atlas\\");
    const QString missingLog = Fixture("no-such-log.mdb");
    QStringList shownAgain;  // the source field and the WAS name when the dialog came back
    ModalAnswerer answerer([&](QDialog& dialog) {
        auto* source = dialog.findChild<QLineEdit*>("editSourceMdb");
        auto* wasName = dialog.findChild<QLineEdit*>("editWasLstName");
        if (shownAgain.isEmpty() && source->text() != missingLog) {
            source->setText(missingLog);
            wasName->setText("States.lst");
            dialog.accept();
            return;
        }
        shownAgain = {source->text(), wasName->text()};
        if (secondLog.isEmpty()) {
            dialog.reject();
            return;
        }
        source->setText(secondLog);
        dialog.accept();
    });

    CCorvaleApp app(prefix.Settings());
    QCOMPARE(app.InitInstance(CCorvaleCommandLine{}), starts);
    QCOMPARE(answerer.dialogTitles.size(), 2);
    QCOMPARE(answerer.messages.size(), 1);
    QVERIFY2(answerer.messages.front().contains("no-such-log.mdb"),
             qPrintable(answerer.messages.front()));
    QCOMPARE(shownAgain, (QStringList{missingLog, "States.lst"}));
    QCOMPARE(app.GetMainWnd() != nullptr, starts);
    QCOMPARE(app.m_strSourceMdb, starts ? secondLog : missingLog);
}

void StartupTest::recentLogsAfterTwoOpens() {
    QTemporaryDir folder;
    const QString first = folder.filePath("first.mdb");
    const QString second = folder.filePath("second.mdb");
    QFile::copy(Fixture("demo-log.mdb"), first);
    QFile::copy(Fixture("demo-log.mdb"), second);
    TestWinePrefix prefix;
    ModalAnswerer answerer;
    for (const QString& log : {first, second, first, second}) {
        CCorvaleCommandLine commandLine;
        commandLine.sourceMdb = log;
        commandLine.lstDir = folder.path() + "/";
        CCorvaleApp app(prefix.Settings());
        QVERIFY(app.InitInstance(commandLine));
    }
    // Each log once, newest first.
    QCOMPARE(RecentFileList().mid(0, 2), (QStringList{second, first}));

    CMainFrame frame;
    QStringList opened;
    connect(&frame, &CMainFrame::OpenRecentLog,
            [&opened](const QString& file) { opened.append(file); });
    emit frame.findChild<QMenu*>("menuFile")->aboutToShow();
    auto* recent = frame.findChild<QAction*>("actionRecentFile2");
    QVERIFY(recent != nullptr);
    QCOMPARE(recent->text(), "&2 " + first);
    QVERIFY(recent->isEnabled());
    recent->trigger();
    QCOMPARE(opened, QStringList{first});
}

// A ham with a log file and neither Wine, DXBase nor DX Atlas: browse to the log, OK, run an
// award, and the pin file lies in Corvale's own folder.
void StartupTest::firstRunWithoutWine() {
    QTemporaryDir home;
    const WinePrefixSettings noPrefix(home.filePath(".wine").toStdString());
    const QString log = home.filePath("Documents/my-log.mdb");
    QDir().mkpath(home.filePath("Documents"));
    QFile::copy(Fixture("demo-log.mdb"), log);
    bool browsed = false;
    ModalAnswerer answerer([&](QDialog& dialog) {
        if (auto* fileDialog = qobject_cast<QFileDialog*>(&dialog)) {
            fileDialog->selectFile(log);
            dialog.accept();
        } else if (!browsed) {
            // Clicked from the event loop, so that the file dialog it opens is answered too.
            browsed = true;
            QMetaObject::invokeMethod(dialog.findChild<QPushButton*>("buttonBrowseSourceMdb"),
                                      &QPushButton::click, Qt::QueuedConnection);
        } else {
            dialog.findChild<QPushButton*>("buttonOk")->click();
        }
    });

    CCorvaleApp app(noPrefix);
    QVERIFY(app.InitInstance(CCorvaleCommandLine{}));
    QCOMPARE(answerer.messages.size(), 1);
    QCOMPARE(app.m_strSourceMdb, log);
    CCorvaleView* view = app.GetMainWnd()->GetActiveView();
    QSignalSpy ended(view, &CCorvaleView::RunEnded);
    view->OnWasMixed();
    QVERIFY(ended.wait(60000));
    QCOMPARE(answerer.messages.size(), 1);
    const QString pins = qEnvironmentVariable("XDG_DATA_HOME") + "/corvale/Pins/WASpins.lst";
    QCOMPARE(view->findChild<QLabel*>("labelLstFile")->text(), pins);
    QVERIFY(QFileInfo(pins).size() > 0);
}

// corvale --log FILE: no dialog; the other paths are the ones it would have shown.
void StartupTest::logOptionTakesTheDialogsOtherPaths() {
    TestWinePrefix prefix;
    prefix.WriteIni("C:\\DXBase\\demo-log.mdb", "C:\\DXBase");
    prefix.RegisterDxAtlas("C:\\DX Atlas\\");
    ModalAnswerer answerer;
    CCorvaleCommandLine commandLine;
    commandLine.sourceMdb = Fixture("adif/sample-plain.adi");

    CCorvaleApp app(prefix.Settings());
    QVERIFY(app.InitInstance(commandLine));
    QVERIFY(answerer.dialogTitles.isEmpty());
    QVERIFY(answerer.messages.isEmpty());
    QCOMPARE(app.m_strSourceMdb, Fixture("adif/sample-plain.adi"));
    QCOMPARE(app.m_strLstDir, QString("C:\\DX Atlas\\Pins\\"));
    QCOMPARE(app.m_strVuccCfmPath, QString("C:\\DX Atlas\\Squares\\VUCCsquares.cfm"));
}

// File > Open Log changes the log that the runs read; the Confirmations menu, what counts.
void StartupTest::openLogAndConfirmations() {
    QTemporaryDir pins;
    TestWinePrefix prefix;
    ModalAnswerer answerer;
    CCorvaleCommandLine commandLine;
    commandLine.sourceMdb = Fixture("demo-log.mdb");
    commandLine.lstDir = pins.path() + "/";
    CCorvaleApp app(prefix.Settings());
    QVERIFY(app.InitInstance(commandLine));
    CMainFrame* frame = app.GetMainWnd();
    CCorvaleView* view = frame->GetActiveView();
    const auto text = [view](const char* label) { return view->findChild<QLabel*>(label)->text(); };

    QVERIFY(!frame->OpenLog(Fixture("garbage.mdb")));
    QCOMPARE(answerer.messages.size(), 1);
    QCOMPARE(text("labelSourceMdb"), Fixture("demo-log.mdb"));
    QVERIFY(frame->OpenLog(Fixture("adif/sample-plain.adi")));
    QCOMPARE(text("labelSourceMdb"), Fixture("adif/sample-plain.adi"));

    struct Setting {
        bool card, lotw, eqsl;
        const char* worked;
        const char* confirmed;
    };
    // The same counts as corvale-cli --confirmations gives on this log.
    for (const Setting& setting :
         {Setting{false, false, false, "71", "0"}, Setting{true, false, false, "52", "19"},
          Setting{true, true, true, "35", "36"}}) {
        frame->findChild<QAction*>("actionConfirmCard")->setChecked(setting.card);
        frame->findChild<QAction*>("actionConfirmLotw")->setChecked(setting.lotw);
        frame->findChild<QAction*>("actionConfirmEqsl")->setChecked(setting.eqsl);
        QSignalSpy ended(view, &CCorvaleView::RunEnded);
        view->OnDxccMixed();
        QVERIFY(ended.wait(60000));
        QCOMPARE(text("labelDxccWorked"), QString(setting.worked));
        QCOMPARE(text("labelDxccConfirmed"), QString(setting.confirmed));
    }
    QCOMPARE(answerer.messages.size(), 1);
}

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
