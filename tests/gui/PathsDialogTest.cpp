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
    void okHandsOverWhatIsTypedUntrimmed();
    void cancelKeepsNothing();
    void missingDxAtlasSaysSoInOneMessage();
};

void PathsDialogTest::fillsFromTheSettings_data() {
    QTest::addColumn<QString>("pgmPath");
    QTest::addColumn<QString>("installLocation");
    QTest::addColumn<QString>("refdataMdb");
    QTest::addColumn<QString>("folder");  // what the composed paths start with

    // The values are joined by plain concatenation, as the two programs store them.
    QTest::newRow("folders with their backslash") << "C:\\DXBase\\"
                                                  << "C:\\Program Files\\DX Atlas\\"
                                                  << "C:\\DXBase\\\\Refdata.mdb"
                                                  << "C:\\Program Files\\DX Atlas\\";
    QTest::newRow("folders without") << "C:\\DXBase"
                                     << "C:\\DX Atlas"
                                     << "C:\\DXBase\\Refdata.mdb"
                                     << "C:\\DX Atlas";
}

void PathsDialogTest::fillsFromTheSettings() {
    QFETCH(QString, pgmPath);
    QFETCH(QString, installLocation);
    QFETCH(QString, refdataMdb);
    QFETCH(QString, folder);
    TestWinePrefix prefix;
    prefix.WriteIni("C:\\DXBase\\Data\\N0CALL.mdb", pgmPath);
    prefix.RegisterDxAtlas(installLocation);
    ModalAnswerer answerer;

    CPathsDlg dialog(prefix.Settings());
    dialog.OnInitDialog();
    QVERIFY(answerer.messages.isEmpty());

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

void PathsDialogTest::okHandsOverWhatIsTypedUntrimmed() {
    TestWinePrefix prefix;
    prefix.WriteIni("C:\\DXBase\\log.mdb", "C:\\DXBase");
    prefix.RegisterDxAtlas("C:\\DX Atlas\\");
    ModalAnswerer answerer([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("editSourceMdb")->setText("D:\\Logs\\mine.mdb  ");
        dialog.findChild<QLineEdit*>("editWasLstName")->setText("States.lst");
        dialog.findChild<QPushButton*>("buttonOk")->click();
    });

    CPathsDlg dialog(prefix.Settings());
    QCOMPARE(dialog.DoModal(), int(QDialog::Accepted));
    QCOMPARE(dialog.m_strSourceMdb, QString("D:\\Logs\\mine.mdb  "));
    QCOMPARE(dialog.m_strWasLstName, QString("States.lst"));
    QCOMPARE(dialog.m_strLstDir, QString("C:\\DX Atlas\\Pins\\"));
}

void PathsDialogTest::cancelKeepsNothing() {
    TestWinePrefix prefix;
    prefix.WriteIni("C:\\DXBase\\log.mdb", "C:\\DXBase");
    prefix.RegisterDxAtlas("C:\\DX Atlas\\");
    ModalAnswerer answerer([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("editSourceMdb")->setText("typed");
        dialog.findChild<QPushButton*>("buttonCancel")->click();
    });

    CPathsDlg dialog(prefix.Settings());
    QCOMPARE(dialog.DoModal(), int(QDialog::Rejected));
    QCOMPARE(dialog.m_strSourceMdb, QString("C:\\DXBase\\log.mdb"));
}

void PathsDialogTest::missingDxAtlasSaysSoInOneMessage() {
    TestWinePrefix prefix;
    prefix.WriteIni("C:\\DXBase\\log.mdb", "C:\\DXBase");
    ModalAnswerer answerer;

    CPathsDlg dialog(prefix.Settings());
    dialog.OnInitDialog();
    QCOMPARE(answerer.messages.size(), 1);
    QVERIFY(answerer.messages.front().contains("DX Atlas"));
    QVERIFY(answerer.messages.front().contains("not found"));
    QCOMPARE(dialog.findChild<QLineEdit*>("editLstDir")->text(), QString("Pins\\"));
}

QTEST_MAIN(PathsDialogTest)
#include "PathsDialogTest.moc"
