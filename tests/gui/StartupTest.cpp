// Start-up: the command line, the paths dialog, the check of the log, then the main window.
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "CaseFile.h"
#include "GuiTestSupport.h"
#include "awards/CCorvaleView.h"
#include "shell/CCorvaleApp.h"
#include "shell/CCorvaleCommandLine.h"
#include "shell/CCorvaleDoc.h"
#include "shell/CMainFrame.h"
#include "shell/CPathsDlg.h"
#include "shell/RecentFileList.h"

using namespace corvale;
using namespace corvale::test;

namespace {

// Corvale's own folder for the pin or squares files, as the dialog shows it.
QString OwnFolder(const char* name) {
    return qEnvironmentVariable("XDG_DATA_HOME") + "/corvale/" + name + "/";
}

// Runs WAS on the started program and waits for the form to come back.
bool RunWas(const CCorvaleApp& app) {
    CCorvaleView* view = app.GetMainWnd()->GetActiveView();
    QSignalSpy ended(view, &CCorvaleView::RunEnded);
    view->OnWasMixed();
    return ended.wait(60000);
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    // Each test starts as a new user would, with no recent logs.
    void init() { ForgetRecentLogs(); }
    void commandLine();
    void pathsDialog_data();
    void pathsDialog();
    void logCheck();
    void failedOpenReturnsToTheDialog_data();
    void failedOpenReturnsToTheDialog();
    void recentLogsAfterTwoOpens();
    void firstRunWithoutWine();
    void logOptionTakesTheDialogsOtherPaths();
    void dialogFillsFromTheSettings_data();
    void dialogFillsFromTheSettings();
    void dialogBrowse_data();
    void dialogBrowse();
};

void StartupTest::commandLine() {
    for (const Case& c : ReadCases("gui/cases/command-line.tsv")) {
        QStringList arguments{"corvale"};
        if (!c[0].empty())
            arguments += QString::fromStdString(c[0]).split(' ');
        const auto parsed = ParseCommandLine(arguments);
        const QString outcome = !parsed                      ? "refused"
                                : parsed->SkipsPathsDialog() ? "no dialog, " + parsed->lstDir
                                                             : "dialog";
        QVERIFY2(outcome == QString::fromStdString(c[1]),
                 qPrintable(QString::fromStdString(c.name) + ": " + outcome));
    }
}

void StartupTest::pathsDialog_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK starts with the paths of the Wine prefix") << true;
    QTest::newRow("Cancel ends without message") << false;
}

void StartupTest::pathsDialog() {
    QFETCH(bool, ok);
    TestWinePrefix prefix;
    prefix.InstallBoth("C:\\DXBase\\demo-log.mdb");
    QDir().mkpath(prefix.OnDriveC("DXBase"));
    QFile::copy(Fixture("demo-log.mdb"), prefix.OnDriveC("DXBase/demo-log.mdb"));
    ModalAnswerer answerer([ok](QDialog& dialog) {
        Child<QPushButton>(dialog, ok ? "buttonOk" : "buttonCancel")->click();
    });

    CCorvaleApp app(prefix.Settings());
    QCOMPARE(app.InitInstance(CCorvaleCommandLine{}), ok);
    QCOMPARE(answerer.dialogTitles.size(), 1);
    QVERIFY(answerer.messages.isEmpty());
    QCOMPARE(app.GetMainWnd() != nullptr, ok);
    if (!ok)
        return;
    const CCorvaleView& view = *app.GetMainWnd()->GetActiveView();
    QVERIFY(app.GetMainWnd()->isVisible());
    QCOMPARE(Child<QLabel>(view, "labelSourceMdb")->text(), "C:\\DXBase\\demo-log.mdb");

    // The Windows paths shown lead to the files inside the prefix.
    QDir().mkpath(prefix.OnDriveC("DX Atlas/Pins"));
    QVERIFY(RunWas(app));
    QVERIFY(answerer.messages.isEmpty());
    QCOMPARE(Child<QLabel>(view, "labelLstFile")->text(), "C:\\DX Atlas\\Pins\\WASpins.lst");
    QVERIFY(QFileInfo(prefix.OnDriveC("DX Atlas/Pins/WASpins.lst")).size() > 0);
}

void StartupTest::logCheck() {
    for (const Case& c : ReadCases("gui/cases/log-check.tsv")) {
        const QString message = c[1] == "-" ? QString() : QString::fromStdString(c[1]);
        ModalAnswerer answerer;
        const StartedForm form(Fixture(QString::fromStdString(c[0])));
        QVERIFY2(form.Started() == message.isEmpty(), c.name.c_str());
        QCOMPARE(answerer.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(answerer.messages.front().contains(message), qPrintable(answerer.messages[0]));
    }
}

void StartupTest::failedOpenReturnsToTheDialog_data() {
    QTest::addColumn<QString>("secondLog");  // typed the second time; empty: Cancel
    QTest::newRow("Cancel then ends") << QString();
    QTest::newRow("a good log then starts") << Fixture("demo-log.mdb");
}

void StartupTest::failedOpenReturnsToTheDialog() {
    QFETCH(QString, secondLog);
    TestWinePrefix prefix;
    prefix.RegisterDxAtlas("C:\\DX Atlas\\");
    const QString missingLog = Fixture("no-such-log.mdb") + "  ";  // handed over untrimmed
    QStringList shownAgain;  // the source field and the WAS name when the dialog came back
    ModalAnswerer answerer([&](QDialog& dialog) {
        auto* source = Child<QLineEdit>(dialog, "editSourceMdb");
        auto* wasName = Child<QLineEdit>(dialog, "editWasLstName");
        if (shownAgain.isEmpty() && source->text() != missingLog) {
            source->setText(missingLog);
            wasName->setText("States.lst");
            return Child<QPushButton>(dialog, "buttonOk")->click();
        }
        if (!shownAgain.isEmpty())  // a third time: the count below fails
            return dialog.reject();
        shownAgain = {source->text(), wasName->text()};
        source->setText(secondLog);
        Child<QPushButton>(dialog, secondLog.isEmpty() ? "buttonCancel" : "buttonOk")->click();
    });

    CCorvaleApp app(prefix.Settings());
    QCOMPARE(app.InitInstance(CCorvaleCommandLine{}), !secondLog.isEmpty());
    QCOMPARE(answerer.dialogTitles.size(), 2);
    QCOMPARE(answerer.messages.size(), 1);
    QVERIFY2(answerer.messages.front().contains("no-such-log.mdb"),
             qPrintable(answerer.messages[0]));
    QCOMPARE(shownAgain, (QStringList{missingLog, "States.lst"}));
    QCOMPARE(app.GetMainWnd() != nullptr, !secondLog.isEmpty());
    QCOMPARE(app.m_strSourceMdb, secondLog.isEmpty() ? missingLog : secondLog);
}

void StartupTest::recentLogsAfterTwoOpens() {
    QTemporaryDir folder;
    const QString first = folder.filePath("first.mdb");
    const QString second = folder.filePath("second.mdb");
    QFile::copy(Fixture("demo-log.mdb"), first);
    QFile::copy(Fixture("demo-log.mdb"), second);
    for (const QString& log : {first, second, first, second})
        const StartedForm started(log);
    // Each log once, newest first.
    QCOMPARE(RecentFileList().mid(0, 2), (QStringList{second, first}));

    CMainFrame frame;
    QStringList opened;
    connect(&frame, &CMainFrame::OpenRecentLog, [&](const QString& file) { opened.append(file); });
    emit Child<QMenu>(frame, "menuFile")->aboutToShow();
    auto* recent = Child<QAction>(frame, "actionRecentFile2");
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
            QMetaObject::invokeMethod(Child<QPushButton>(dialog, "buttonBrowseSourceMdb"),
                                      &QPushButton::click, Qt::QueuedConnection);
        } else {
            Child<QPushButton>(dialog, "buttonOk")->click();
        }
    });

    CCorvaleApp app(noPrefix);
    QVERIFY(app.InitInstance(CCorvaleCommandLine{}));
    QCOMPARE(app.m_strSourceMdb, log);
    QVERIFY(RunWas(app));
    QCOMPARE(answerer.messages.size(), 1);  // the dialog's, that no Wine prefix was found
    const QString pins = OwnFolder("Pins") + "WASpins.lst";
    QCOMPARE(Child<QLabel>(*app.GetMainWnd(), "labelLstFile")->text(), pins);
    QVERIFY(QFileInfo(pins).size() > 0);
}

// corvale --log FILE: no dialog; the other paths are the ones it would have shown. The form as
// it first shows: FFMA's files, no counts, 50 MHz, the title.
void StartupTest::logOptionTakesTheDialogsOtherPaths() {
    TestWinePrefix prefix;
    prefix.InstallBoth();
    ModalAnswerer answerer;
    CCorvaleCommandLine commandLine;
    commandLine.sourceMdb = Fixture("adif/sample-plain.adi");

    CCorvaleApp app(prefix.Settings());
    QVERIFY(app.InitInstance(commandLine));
    QVERIFY(answerer.dialogTitles.isEmpty() && answerer.messages.isEmpty());
    QCOMPARE(app.m_strVuccCfmPath, QString("C:\\DX Atlas\\Squares\\VUCCsquares.cfm"));
    CCorvaleView& view = *app.GetMainWnd()->GetActiveView();
    const auto text = [&](const QString& label) {
        return Child<QLabel>(view, qPrintable(label))->text();
    };
    QCOMPARE(text("labelSourceMdb"), Fixture("adif/sample-plain.adi"));
    QCOMPARE(text("labelLstFile"), "C:\\DX Atlas\\Pins\\FFMApins.lst");
    QCOMPARE(text("labelWkdFile"), "C:\\DX Atlas\\Squares\\FFMAsquares.wkd");
    QCOMPARE(text("labelCfmFile"), "C:\\DX Atlas\\Squares\\FFMAsquares.cfm");
    for (const char* award : {"Ffma", "Was", "Dxcc", "Iota", "Vucc"}) {
        for (const char* counter : {"Total", "Worked", "Confirmed"})
            QCOMPARE(text(QString("label%1%2").arg(award, counter)), QString());
    }
    QVERIFY(Child<QRadioButton>(view, "radioBand50")->isChecked());
    QCOMPARE(view.m_nBand, -1);  // follows the buttons only when a run collects the form
    QCOMPARE(app.GetMainWnd()->windowTitle(), QString("Corvale version 1.02"));
    // The prefix record set on the Refdata database shown is served to the form, never opened.
    QCOMPARE(text("labelRefdataMdb"), "C:\\DXBase\\Refdata.mdb");
    QCOMPARE(view.m_priPfxSet.GetDefaultDBName(), std::string("C:\\DXBase\\Refdata.mdb"));
    QVERIFY(!view.OnGetRecordset()->IsOpen());
}

void StartupTest::dialogFillsFromTheSettings_data() {
    QTest::addColumn<QString>("pgmPath");          // empty: there is no Wine prefix
    QTest::addColumn<QString>("installLocation");  // empty: DX Atlas is not installed
    QTest::addColumn<QStringList>("shown");        // source, Refdata, pins and squares folders
    QTest::addColumn<QStringList>("message");      // texts in the one message shown, if any

    // The values are joined by plain concatenation, as the two programs store them. DXBase's log
    // comes before the recent ones; without it, the most recent is offered.
    const QString log = "C:\\DXBase\\Data\\N0CALL.mdb";
    const QString atlas = "C:\\Program Files\\DX Atlas\\";
    QTest::newRow("folders with their backslash")
        << "C:\\DXBase\\" << atlas
        << QStringList{log, "C:\\DXBase\\\\Refdata.mdb", atlas + "Pins\\", atlas + "Squares\\"}
        << QStringList();
    // Without DX Atlas the files go to Corvale's own folders, and the message names them.
    const QStringList ownFolders{OwnFolder("Pins"), OwnFolder("Squares")};
    QTest::newRow("DX Atlas missing")
        << "C:\\DXBase" << QString() << QStringList{log, "C:\\DXBase\\Refdata.mdb"} + ownFolders
        << QStringList{"DX Atlas", "not found"} + ownFolders;
    QTest::newRow("no Wine prefix")
        << QString() << QString()
        << QStringList{"/home/op/logs/recent.adi", "\\Refdata.mdb"} + ownFolders
        << QStringList{"no Wine prefix at", "--wine-prefix", "WINEPREFIX"} + ownFolders;
    const QString cut = "C:\\" + QString(251, 'x');
    QTest::newRow("DX Atlas's location cut where no folder is")
        << "C:\\DXBase"
        << "C:\\" + QString(300, 'x') + "\\"
        << QStringList{log, "C:\\DXBase\\Refdata.mdb", cut + "Pins\\", cut + "Squares\\"}
        << QStringList{"304 characters long", "Over-type"};
}

void StartupTest::dialogFillsFromTheSettings() {
    QFETCH(QString, pgmPath);
    QFETCH(QString, installLocation);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, message);
    AddToRecentFileList("/home/op/logs/older.mdb");
    AddToRecentFileList("/home/op/logs/recent.adi");
    TestWinePrefix prefix;
    prefix.WriteIni("C:\\DXBase\\Data\\N0CALL.mdb", pgmPath);
    if (!installLocation.isEmpty())
        prefix.RegisterDxAtlas(installLocation);
    const QString missingPrefix = prefix.Path() + "/never-made";
    const WinePrefixSettings noPrefix(missingPrefix.toStdString());
    ModalAnswerer answerer;
    const bool prefixExists = !pgmPath.isEmpty();

    CPathsDlg dialog(prefixExists ? prefix.Settings() : noPrefix);
    dialog.OnInitDialog();
    QCOMPARE(answerer.messages.size(), message.isEmpty() ? 0 : 1);
    if (!prefixExists)
        message.append(missingPrefix);
    for (const QString& word : message)
        QVERIFY2(answerer.messages.front().contains(word), qPrintable(answerer.messages[0]));

    const QString squares = shown[3];
    shown[3] = squares + "FFMAsquares.wkd";
    shown << squares + "FFMAsquares.cfm"
          << "FFMApins.lst"
          << "VUCCpins.lst"
          << "DXCCpins.lst"
          << "IOTApins.lst"
          << "WASpins.lst";
    QStringList fields;
    for (const char* edit :
         {"SourceMdb", "RefdataMdb", "LstDir", "FfmaWkdPath", "FfmaCfmPath", "FfmaLstName",
          "VuccLstName", "DxccLstName", "IotaLstName", "WasLstName"})
        fields.append(Child<QLineEdit>(dialog, qPrintable(QString("edit") + edit))->text());
    QCOMPARE(fields, shown);
    QCOMPARE(dialog.m_strVuccWkdPath, squares + "VUCCsquares.wkd");
    QCOMPARE(dialog.m_strVuccCfmPath, squares + "VUCCsquares.cfm");
    // Of the values filled, the last shown in the caption was the FFMA CFM path.
    QCOMPARE(dialog.windowTitle(), squares + "FFMAsquares.cfm");
}

void StartupTest::dialogBrowse_data() {
    QTest::addColumn<QString>("button");       // buttonBrowse... and the field edit...
    QTest::addColumn<QString>("chosen");       // below the test's folder; "" cancels the dialog
    QTest::addColumn<QString>("shown");        // the field's text afterwards, below the folder
    QTest::addColumn<QStringList>("filters");  // name filters the dialog offers, in part
    const QStringList logFilters{"Logs (*.mdb *.accdb *.adi *.adif *.adx)",
                                 "Access databases (*.mdb *.accdb)",
                                 "ADIF logs (*.adi *.adif *.adx)", "All files (*)"};
    QTest::newRow("an ADIF log") << "SourceMdb" << QString("logs/mine.adi") << "logs/mine.adi"
                                 << logFilters;
    // The form joins the names to the folder without a separator: the folder ends with one.
    QTest::newRow("the pins folder") << "LstDir" << QString("pins") << "pins/" << QStringList();
    // A squares file is written by a run and need not exist yet.
    QTest::newRow("worked squares") << "FfmaWkdPath" << QString("pins/new.wkd") << "pins/new.wkd"
                                    << QStringList{"Worked squares (*.wkd)"};
    QTest::newRow("cancelled") << "SourceMdb" << QString() << QString() << logFilters;
}

void StartupTest::dialogBrowse() {
    QFETCH(QString, button);
    QFETCH(QString, chosen);
    QFETCH(QString, shown);
    QFETCH(QStringList, filters);
    QTemporaryDir folder;
    QDir(folder.path()).mkpath("logs");
    QDir(folder.path()).mkpath("pins");
    QFile log(folder.filePath("logs/mine.adi"));
    QVERIFY(log.open(QIODevice::WriteOnly));
    TestWinePrefix prefix;
    prefix.InstallBoth();
    QStringList offered;
    ModalAnswerer answerer([&](QDialog& dialog) {
        auto& fileDialog = dynamic_cast<QFileDialog&>(dialog);
        offered = fileDialog.nameFilters();
        if (chosen.isEmpty())
            return fileDialog.reject();
        fileDialog.selectFile(folder.filePath(chosen));
        dialog.accept();  // QFileDialog::accept, which checks the choice
    });

    CPathsDlg dialog(prefix.Settings());
    dialog.OnInitDialog();
    const QString edit = "edit" + button;
    const QString before = Child<QLineEdit>(dialog, qPrintable(edit))->text();
    Child<QPushButton>(dialog, qPrintable("buttonBrowse" + button))->click();
    QCOMPARE(answerer.dialogTitles.size(), 1);
    for (const QString& filter : filters)
        QVERIFY2(offered.contains(filter), qPrintable(offered.join(", ")));
    QCOMPARE(Child<QLineEdit>(dialog, qPrintable(edit))->text(),
             shown.isEmpty() ? before : folder.filePath(shown));
}

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
