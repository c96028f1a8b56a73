// The paths dialog: filled from DXBase's and DX Atlas's settings in a Wine prefix.
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "GuiTestSupport.h"
#include "shell/CPathsDlg.h"
#include "shell/RecentFileList.h"

using namespace corvale;
using corvale::test::ModalAnswerer;
using corvale::test::TestWinePrefix;

class PathsDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void fillsFromTheSettings_data();
    void fillsFromTheSettings();
    void offersTheRecentLog_data();
    void offersTheRecentLog();
    void browse_data();
    void browse();
    void answer_data();
    void answer();
};

// Corvale's own folder for the pin or squares files, as the dialog shows it.
QString OwnFolder(const char* name) {
    return qEnvironmentVariable("XDG_DATA_HOME") + "/corvale/" + name + "/";
}

void PathsDialogTest::fillsFromTheSettings_data() {
    QTest::addColumn<bool>("prefixExists");
    QTest::addColumn<QString>("pgmPath");
    QTest::addColumn<QString>("installLocation");  // empty: DX Atlas is not installed
    QTest::addColumn<QString>("sourceMdb");
    QTest::addColumn<QString>("refdataMdb");
    QTest::addColumn<QString>("lstDir");
    QTest::addColumn<QString>("squaresFolder");  // what the four squares paths start with
    QTest::addColumn<QStringList>("message");    // texts in the one message shown, if any

    // The values are joined by plain concatenation, as the two programs store them.
    const QString log = "C:\\DXBase\\Data\\N0CALL.mdb";
    const QString atlas = "C:\\Program Files\\DX Atlas\\";
    QTest::newRow("folders with their backslash")
        << true << QString("C:\\DXBase\\") << atlas << log << QString("C:\\DXBase\\\\Refdata.mdb")
        << atlas + "Pins\\" << atlas + "Squares\\" << QStringList();
    // Without DX Atlas the files go to Corvale's own folders, and the message names them.
    QTest::newRow("DX Atlas missing")
        << true << QString("C:\\DXBase") << QString() << log << QString("C:\\DXBase\\Refdata.mdb")
        << OwnFolder("Pins") << OwnFolder("Squares")
        << QStringList{"DX Atlas", "not found", OwnFolder("Pins"), OwnFolder("Squares")};
    QTest::newRow("no Wine prefix")
        << false << QString() << QString() << QString() << QString("\\Refdata.mdb")
        << OwnFolder("Pins") << OwnFolder("Squares")
        << QStringList{"no Wine prefix at", "--wine-prefix", "WINEPREFIX", OwnFolder("Pins"),
                       OwnFolder("Squares")};
    const QString longLocation = "C:\\" + QString(300, 'x') + "\\";
    const QString cut = longLocation.left(254);
    QTest::newRow("DX Atlas's location cut where no folder is")
        << true << QString("C:\\DXBase") << longLocation << log
        << QString("C:\\DXBase\\Refdata.mdb") << cut + "Pins\\" << cut + "Squares\\"
        << QStringList{"304 characters long", "Over-type"};
}

void PathsDialogTest::fillsFromTheSettings() {
    QFETCH(bool, prefixExists);
    QFETCH(QString, pgmPath);
    QFETCH(QString, installLocation);
    QFETCH(QString, sourceMdb);
    QFETCH(QString, refdataMdb);
    QFETCH(QString, lstDir);
    QFETCH(QString, squaresFolder);
    QFETCH(QStringList, message);
    TestWinePrefix prefix;
    prefix.WriteIni("C:\\DXBase\\Data\\N0CALL.mdb", pgmPath);
    if (!installLocation.isEmpty())
        prefix.RegisterDxAtlas(installLocation);
    const QString missingPrefix = prefix.Path() + "/never-made";
    const WinePrefixSettings noPrefix(missingPrefix.toStdString());
    ModalAnswerer answerer;

    CPathsDlg dialog(prefixExists ? prefix.Settings() : noPrefix);
    dialog.OnInitDialog();
    QCOMPARE(answerer.messages.size(), message.isEmpty() ? 0 : 1);
    if (!prefixExists)
        message.append(missingPrefix);
    for (const QString& word : message)
        QVERIFY2(answerer.messages.front().contains(word), qPrintable(answerer.messages.front()));

    const QList<QPair<const char*, QString>> expected{
        {"editSourceMdb", sourceMdb},
        {"editRefdataMdb", refdataMdb},
        {"editLstDir", lstDir},
        {"editFfmaLstName", "FFMApins.lst"},
        {"editVuccLstName", "VUCCpins.lst"},
        {"editDxccLstName", "DXCCpins.lst"},
        {"editIotaLstName", "IOTApins.lst"},
        {"editWasLstName", "WASpins.lst"},
        {"editFfmaWkdPath", squaresFolder + "FFMAsquares.wkd"},
        {"editFfmaCfmPath", squaresFolder + "FFMAsquares.cfm"},
    };
    for (const auto& [name, text] : expected)
        QCOMPARE(dialog.findChild<QLineEdit*>(name)->text(), text);
    QCOMPARE(dialog.m_strVuccWkdPath, squaresFolder + "VUCCsquares.wkd");
    QCOMPARE(dialog.m_strVuccCfmPath, squaresFolder + "VUCCsquares.cfm");
    // Of the values filled, the last shown in the caption was the FFMA CFM path.
    QCOMPARE(dialog.windowTitle(), squaresFolder + "FFMAsquares.cfm");
}

void PathsDialogTest::offersTheRecentLog_data() {
    QTest::addColumn<QString>("dataPath");  // DXBase's DATAPATH; empty: DXBase gives none
    QTest::addColumn<QString>("sourceMdb");
    QTest::newRow("DXBase's log first") << "C:\\DXBase\\log.mdb"
                                        << "C:\\DXBase\\log.mdb";
    QTest::newRow("else the most recent") << QString() << "/home/op/logs/recent.adi";
}

void PathsDialogTest::offersTheRecentLog() {
    QFETCH(QString, dataPath);
    QFETCH(QString, sourceMdb);
    AddToRecentFileList("/home/op/logs/older.mdb");
    AddToRecentFileList("/home/op/logs/recent.adi");
    TestWinePrefix prefix;
    prefix.WriteIni(dataPath, "C:\\DXBase");
    prefix.RegisterDxAtlas("C:\\DX Atlas\\");

    CPathsDlg dialog(prefix.Settings());
    dialog.OnInitDialog();
    QCOMPARE(dialog.findChild<QLineEdit*>("editSourceMdb")->text(), sourceMdb);
}

void PathsDialogTest::browse_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("chosen");       // below the test's folder; "" cancels the dialog
    QTest::addColumn<QString>("shown");        // the field's text afterwards, below the folder
    QTest::addColumn<QStringList>("filters");  // name filters the dialog offers, in part
    const QStringList logFilters{"Logs (*.mdb *.accdb *.adi *.adif *.adx)",
                                 "Access databases (*.mdb *.accdb)",
                                 "ADIF logs (*.adi *.adif *.adx)", "All files (*)"};
    QTest::newRow("an ADIF log") << "buttonBrowseSourceMdb"
                                 << "editSourceMdb"
                                 << "logs/mine.adi"
                                 << "logs/mine.adi" << logFilters;
    // The form joins the names to the folder without a separator: the folder ends with one.
    QTest::newRow("the pins folder") << "buttonBrowseLstDir"
                                     << "editLstDir"
                                     << "pins"
                                     << "pins/" << QStringList();
    // A squares file is written by a run and need not exist yet.
    QTest::newRow("worked squares") << "buttonBrowseFfmaWkdPath"
                                    << "editFfmaWkdPath"
                                    << "pins/new.wkd"
                                    << "pins/new.wkd" << QStringList{"Worked squares (*.wkd)"};
    QTest::newRow("cancelled") << "buttonBrowseSourceMdb"
                               << "editSourceMdb" << QString() << QString() << logFilters;
}

void PathsDialogTest::browse() {
    QFETCH(QString, button);
    QFETCH(QString, edit);
    QFETCH(QString, chosen);
    QFETCH(QString, shown);
    QFETCH(QStringList, filters);
    QTemporaryDir folder;
    QDir(folder.path()).mkpath("logs");
    QDir(folder.path()).mkpath("pins");
    QFile log(folder.filePath("logs/mine.adi"));
    QVERIFY(log.open(QIODevice::WriteOnly));
    TestWinePrefix prefix;
    prefix.WriteIni("C:\\DXBase\\log.mdb", "C:\\DXBase");
    prefix.RegisterDxAtlas("C:\\DX Atlas\\");
    QStringList offered;
    ModalAnswerer answerer([&](QDialog& dialog) {
        auto& fileDialog = dynamic_cast<QFileDialog&>(dialog);
        offered = fileDialog.nameFilters();
        if (chosen.isEmpty()) {
            fileDialog.reject();
            return;
        }
        fileDialog.selectFile(folder.filePath(chosen));
        dialog.accept();  // QFileDialog::accept, which checks the choice
    });

    CPathsDlg dialog(prefix.Settings());
    dialog.OnInitDialog();
    const QString before = dialog.findChild<QLineEdit*>(edit)->text();
    dialog.findChild<QPushButton*>(button)->click();
    QCOMPARE(answerer.dialogTitles.size(), 1);
    for (const QString& filter : filters)
        QVERIFY2(offered.contains(filter), qPrintable(offered.join(", ")));
    QCOMPARE(dialog.findChild<QLineEdit*>(edit)->text(),
             shown.isEmpty() ? before : folder.filePath(shown));
}

void PathsDialogTest::answer_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("sourceMdb");  // what the dialog hands over
    QTest::addColumn<QString>("wasLstName");
    // OK hands over what is typed, untrimmed; Cancel keeps nothing of it.
    QTest::newRow("OK") << "buttonOk" << int(QDialog::Accepted) << "D:\\Logs\\mine.mdb  "
                        << "States.lst";
    QTest::newRow("Cancel") << "buttonCancel" << int(QDialog::Rejected) << "C:\\DXBase\\log.mdb"
                            << "WASpins.lst";
}

void PathsDialogTest::answer() {
    QFETCH(QString, button);
    QFETCH(int, result);
    QFETCH(QString, sourceMdb);
    QFETCH(QString, wasLstName);
    TestWinePrefix prefix;
    prefix.WriteIni("C:\\DXBase\\log.mdb", "C:\\DXBase");
    prefix.RegisterDxAtlas("C:\\DX Atlas\\");
    ModalAnswerer answerer([&button](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("editSourceMdb")->setText("D:\\Logs\\mine.mdb  ");
        dialog.findChild<QLineEdit*>("editWasLstName")->setText("States.lst");
        dialog.findChild<QPushButton*>(button)->click();
    });

    CPathsDlg dialog(prefix.Settings());
    QCOMPARE(dialog.DoModal(), result);
    QCOMPARE(dialog.m_strSourceMdb, sourceMdb);
    QCOMPARE(dialog.m_strWasLstName, wasLstName);
    QCOMPARE(dialog.m_strLstDir, QString("C:\\DX Atlas\\Pins\\"));
}

QTEST_MAIN(PathsDialogTest)
#include "PathsDialogTest.moc"
