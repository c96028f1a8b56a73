// The paths dialog: filled from DXBase's and DX Atlas's settings in a Wine prefix.
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "GuiTestSupport.h"
#include "shell/CPathsDlg.h"

using namespace corvale;
using corvale::test::ModalAnswerer;
using corvale::test::TestWinePrefix;

class PathsDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void fillsFromTheSettings_data();
    void fillsFromTheSettings();
    void answer_data();
    void answer();
};

void PathsDialogTest::fillsFromTheSettings_data() {
    QTest::addColumn<QString>("pgmPath");
    QTest::addColumn<QString>("installLocation");  // empty: DX Atlas is not installed
    QTest::addColumn<QString>("refdataMdb");
    QTest::addColumn<QString>("folder");       // what the composed paths start with
    QTest::addColumn<QStringList>("message");  // texts in the one message shown, if any

    // The values are joined by plain concatenation, as the two programs store them.
    const QString atlas = "C:\\Program Files\\DX Atlas\\";
    QTest::newRow("folders with their backslash")
        << QString("C:\\DXBase\\") << atlas << QString("C:\\DXBase\\\\Refdata.mdb") << atlas
        << QStringList();
    QTest::newRow("folders without")
        << QString("C:\\DXBase") << QString("C:\\DX Atlas") << QString("C:\\DXBase\\Refdata.mdb")
        << QString("C:\\DX Atlas") << QStringList();
    QTest::newRow("DX Atlas missing")
        << QString("C:\\DXBase") << QString() << QString("C:\\DXBase\\Refdata.mdb") << QString()
        << QStringList{"DX Atlas", "not found"};
    const QString longLocation = "C:\\" + QString(300, 'x') + "\\";
    QTest::newRow("DX Atlas's location cut where no folder is")
        << QString("C:\\DXBase") << longLocation << QString("C:\\DXBase\\Refdata.mdb")
        << longLocation.left(254) << QStringList{"304 characters long", "Over-type"};
}

void PathsDialogTest::fillsFromTheSettings() {
    QFETCH(QString, pgmPath);
    QFETCH(QString, installLocation);
    QFETCH(QString, refdataMdb);
    QFETCH(QString, folder);
    QFETCH(QStringList, message);
    TestWinePrefix prefix;
    prefix.WriteIni("C:\\DXBase\\Data\\N0CALL.mdb", pgmPath);
    if (!installLocation.isEmpty())
        prefix.RegisterDxAtlas(installLocation);
    ModalAnswerer answerer;

    CPathsDlg dialog(prefix.Settings());
    dialog.OnInitDialog();
    QCOMPARE(answerer.messages.size(), message.isEmpty() ? 0 : 1);
    for (const QString& word : message)
        QVERIFY2(answerer.messages.front().contains(word), qPrintable(answerer.messages.front()));

    const QList<QPair<const char*, QString>> expected{
        {"editSourceMdb", "C:\\DXBase\\Data\\N0CALL.mdb"},
        {"editRefdataMdb", refdataMdb},
        {"editLstDir", folder + "Pins\\"},
        {"editFfmaLstName", "FFMApins.lst"},
        {"editVuccLstName", "VUCCpins.lst"},
        {"editDxccLstName", "DXCCpins.lst"},
        {"editIotaLstName", "IOTApins.lst"},
        {"editWasLstName", "WASpins.lst"},
        {"editFfmaWkdPath", folder + "Squares\\FFMAsquares.wkd"},
        {"editFfmaCfmPath", folder + "Squares\\FFMAsquares.cfm"},
    };
    for (const auto& [name, text] : expected)
        QCOMPARE(dialog.findChild<QLineEdit*>(name)->text(), text);
    QCOMPARE(dialog.m_strVuccWkdPath, folder + "Squares\\VUCCsquares.wkd");
    QCOMPARE(dialog.m_strVuccCfmPath, folder + "Squares\\VUCCsquares.cfm");
    // Of the values filled, the last shown in the caption was the FFMA CFM path.
    QCOMPARE(dialog.windowTitle(), folder + "Squares\\FFMAsquares.cfm");
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
