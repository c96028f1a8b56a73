// The main form: first showing, options, the five award runs, the locking and failures.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "GuiTestSupport.h"
#include "awards/AwardRun.h"
#include "awards/CCorvaleView.h"
#include "map/CMapWindow.h"
#include "shell/CCorvaleApp.h"
#include "shell/CCorvaleDoc.h"
#include "shell/CMainFrame.h"

using namespace corvale;
using corvale::test::Fixture;
using corvale::test::ModalAnswerer;
using corvale::test::TestWinePrefix;

Q_DECLARE_METATYPE(corvale::Award)

namespace {

constexpr int kRunTimeoutMs = 120000;

// The form as start-up leaves it, over `log`, writing into `lstDir`.
class Form {
  public:
    Form(const QString& log, const QString& lstDir) : m_app(m_prefix.Settings()) {
        m_app.m_strSourceMdb = log;
        m_app.m_strRefdataMdb = "C:\\DXBase\\Refdata.mdb";
        m_app.m_strLstDir = lstDir;
        m_app.m_strFfmaLstName = "FFMApins.lst";
        m_app.m_strWasLstName = "WASpins.lst";
        m_app.m_strDxccLstName = "DXCCpins.lst";
        m_app.m_strIotaLstName = "IOTApins.lst";
        m_app.m_strVuccLstName = "VUCCpins.lst";
        m_app.m_strFfmaWkdPath = lstDir + "FFMAsquares.wkd";
        m_app.m_strFfmaCfmPath = lstDir + "FFMAsquares.cfm";
        m_app.m_strVuccWkdPath = lstDir + "VUCCsquares.wkd";
        m_app.m_strVuccCfmPath = lstDir + "VUCCsquares.cfm";
        m_doc = std::make_unique<CCorvaleDoc>(log.toStdString());
        m_frame = std::make_unique<CMainFrame>();
        view = new CCorvaleView(*m_doc, m_prefix.Settings());
        m_frame->SetView(view);
        view->OnInitialUpdate(m_app);
        m_frame->show();
    }

    template <typename T>
    T* Control(const char* name) const {
        T* control = view->findChild<T*>(name);
        if (control == nullptr)
            qFatal("no control %s", name);
        return control;
    }
    QString Text(const char* label) const { return Control<QLabel>(label)->text(); }
    QStringList Lines(const char* list) const {
        QStringList lines;
        auto* widget = Control<QListWidget>(list);
        for (int row = 0; row < widget->count(); ++row)
            lines.append(widget->item(row)->text());
        return lines;
    }
    // Presses the button and waits until the form is unlocked again.
    bool Run(const char* button) {
        QSignalSpy ended(view, &CCorvaleView::RunEnded);
        Control<QPushButton>(button)->click();
        return ended.count() > 0 || ended.wait(kRunTimeoutMs);
    }
    CMainFrame& Frame() { return *m_frame; }
    const CCorvaleDoc& Doc() const { return *m_doc; }

    CCorvaleView* view = nullptr;

  private:
    TestWinePrefix m_prefix;
    CCorvaleApp m_app;
    std::unique_ptr<CCorvaleDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
};

// What the engine itself lists for a run, to compare the form with.
struct EngineRun : RunObserver {
    QStringList confirmed, workedOnly;
    RunResult result;

    EngineRun(Award award, const QString& log, const QString& folder) {
        CSRC2006QSO qsoSet(log.toStdString());
        RunRequest request;
        request.award = award;
        request.lstPath = (folder + "/engine.lst").toStdString();
        result = RunAward(request, qsoSet, *this);
    }
    void OnPin(const PinEvent& pin) override {
        const QString line = QString::fromUtf8(pin.line.data(), qsizetype(pin.line.size()));
        (pin.status == PinStatus::Confirmed ? confirmed : workedOnly).append(line);
    }
};

const char* const kLockedControls[] = {"buttonFfma",       "buttonWasMixed", "buttonDxccMixed",
                                       "buttonIotaMixed",  "buttonVucc",     "checkFfmaSquares",
                                       "checkVuccSquares", "radioBand50",    "radioBand144",
                                       "radioBand222",     "radioBand432"};

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

class CorvaleViewTest : public QObject {
    Q_OBJECT
  private slots:
    void firstShowing();
    void bandButtonsAndCheckBoxes_data();
    void bandButtonsAndCheckBoxes();
    void awardRun_data();
    void awardRun();
    void runLocksTheWholeFormUntilAfterThePause();
    void failingRunReportsAndUnlocks_data();
    void failingRunReportsAndUnlocks();
    void closingDuringARunStopsItFirst();
};

void CorvaleViewTest::firstShowing() {
    QTemporaryDir pins;
    const QString dir = pins.path() + "/";
    Form form(Fixture("demo-log.mdb"), dir);

    QCOMPARE(form.Text("labelSourceMdb"), Fixture("demo-log.mdb"));
    QCOMPARE(form.Text("labelRefdataMdb"), QString("C:\\DXBase\\Refdata.mdb"));
    QCOMPARE(form.Text("labelLstFile"), dir + "FFMApins.lst");
    QCOMPARE(form.Text("labelWkdFile"), dir + "FFMAsquares.wkd");
    QCOMPARE(form.Text("labelCfmFile"), dir + "FFMAsquares.cfm");
    for (const char* award : {"Ffma", "Was", "Dxcc", "Iota", "Vucc"}) {
        for (const char* counter : {"Total", "Worked", "Confirmed"})
            QCOMPARE(form.Text(qPrintable(QString("label%1%2").arg(award, counter))), QString());
    }
    QVERIFY(form.Control<QRadioButton>("radioBand50")->isChecked());
    QCOMPARE(form.view->m_strVuccBand, QString("1"));
    QCOMPARE(form.view->m_nBand, -1);  // follows the buttons only when a run collects the form
    QVERIFY(!form.Control<QCheckBox>("checkFfmaSquares")->isChecked());
    QVERIFY(!form.Control<QCheckBox>("checkVuccSquares")->isChecked());
    QCOMPARE(form.Frame().windowTitle(), QString("Corvale version 1.02"));
    QCOMPARE(form.Doc().GetTitle(), QString("Corvale version 1.02"));
    // The document's record set is served to the form, never opened: no run reads it.
    QCOMPARE(form.view->OnGetRecordset(), &form.Doc().m_corvaleSet);
    QVERIFY(!form.view->OnGetRecordset()->IsOpen());
    QCOMPARE(form.view->m_priPfxSet.GetDefaultDBName(), std::string("C:\\DXBase\\Refdata.mdb"));
}

void CorvaleViewTest::bandButtonsAndCheckBoxes_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("band");
    QTest::addColumn<bool>("ffmaSquares");
    QTest::addColumn<bool>("vuccSquares");
    const auto row = [](const char* name, const QStringList& clicks, const char* band,
                        bool ffma = false, bool vucc = false) {
        QTest::newRow(name) << clicks << QString(band) << ffma << vucc;
    };
    row("144", {"radioBand144"}, "0");
    row("222", {"radioBand222"}, "11");
    row("222 twice", {"radioBand222", "radioBand222"}, "11");
    row("432", {"radioBand432"}, "12");
    row("432 then 50", {"radioBand432", "radioBand50"}, "1");
    row("FFMA squares", {"checkFfmaSquares"}, "1", true);
    row("VUCC squares", {"checkVuccSquares"}, "1", false, true);
    row("both squares twice",
        {"checkFfmaSquares", "checkVuccSquares", "checkFfmaSquares", "checkVuccSquares"}, "1");
}

void CorvaleViewTest::bandButtonsAndCheckBoxes() {
    QFETCH(QStringList, clicks);
    QFETCH(QString, band);
    QFETCH(bool, ffmaSquares);
    QFETCH(bool, vuccSquares);
    QTemporaryDir pins;
    Form form(Fixture("demo-log.mdb"), pins.path() + "/");
    for (const QString& control : clicks)
        form.Control<QAbstractButton>(qPrintable(control))->click();
    QCOMPARE(form.view->m_strVuccBand, band);
    QCOMPARE(form.view->m_bFfmaSquares, ffmaSquares);
    QCOMPARE(form.view->m_bVuccSquares, vuccSquares);
}

void CorvaleViewTest::awardRun_data() {
    QTest::addColumn<QString>("log");
    QTest::addColumn<Award>("award");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("name");           // in the label and file names: "Was", WASpins.lst
    QTest::addColumn<QString>("confirmedLine");  // one line the list must hold, if any
    QTest::addColumn<bool>("squares");           // with the award's squares check box ticked
    QTest::addColumn<QString>("readLine");       // what the read of the log came to, if told
    struct Row {
        const char* log;  // a fixture, .mdb unless named with its extension
        Award award;
        const char *button, *name, *line;
        bool squares = false;
    };
    // The example log has confirmed and worked-only entities, and a state without a position.
    const Row rows[] = {
        {"demo-log", Award::Ffma, "buttonFfma", "Ffma", "02|-12772|7654|FN42|"},
        {"demo-log", Award::Was, "buttonWasMixed", "Was", "02|-28412|3839|HI|"},
        {"demo-log", Award::Dxcc, "buttonDxccMixed", "Dxcc", "02|24604|6406|JA|"},
        {"demo-log", Award::Iota, "buttonIotaMixed", "Iota", "02|10191|-1872|AF001|"},
        {"demo-log", Award::Vucc, "buttonVucc", "Vucc", "02|-12772|7654|FN42|"},
        {"demo-log", Award::Vucc, "buttonVucc", "Vucc", "02|-12772|7654|FN42|", true},
        {"empty-log", Award::Was, "buttonWasMixed", "Was", ""},
        {"adif/sample-lotw.adi", Award::Dxcc, "buttonDxccMixed", "Dxcc", "02|24604|6406|JA|"},
    };
    for (const Row& row : rows) {
        const QString log =
            Fixture(QString(row.log) + (QString(row.log).contains('.') ? "" : ".mdb"));
        // An ADIF log's read is told before the pins without a map position.
        const QString readLine =
            log.endsWith(".adi")
                ? "ADIF log \"" + log +
                      "\": 300 records read, 516 rows made, 57 entities from calls, 3 records "
                      "without a date, 34 without an entity."
                : QString();
        QTest::addRow("%s %s%s", row.log, row.name, row.squares ? " squares" : "")
            << log << row.award << row.button << row.name << row.line << row.squares << readLine;
    }
}

void CorvaleViewTest::awardRun() {
    QFETCH(QString, log);
    QFETCH(Award, award);
    QFETCH(QString, button);
    QFETCH(QString, name);
    QFETCH(QString, confirmedLine);
    QFETCH(bool, squares);
    QFETCH(QString, readLine);
    QTemporaryDir pins;
    const QString dir = pins.path() + "/";
    const EngineRun engine(award, log, pins.path());
    Form form(log, dir);
    if (squares)
        form.Control<QCheckBox>(qPrintable("check" + name + "Squares"))->click();

    QVERIFY(form.Run(qPrintable(button)));

    // View > Map (Ctrl+M) shows the run just completed, its award chosen.
    auto* viewMap = form.Frame().findChild<QAction*>("actionViewMap");
    QCOMPARE(viewMap->shortcut(), QKeySequence("Ctrl+M"));
    viewMap->trigger();
    const auto* map = form.Frame().findChild<CMapWindow*>();
    QVERIFY(map->isVisible());
    QCOMPARE(map->findChild<QComboBox*>("comboAward")->currentText(),
             award == Award::Vucc ? "VUCC 50 MHz" : name.toUpper());
    QCOMPARE(
        map->findChild<QLabel*>("labelStatus")->text(),
        (award == Award::Vucc ? "VUCC-50" : name.toUpper()) + " on " + QFileInfo(log).fileName());

    if (confirmedLine.isEmpty())  // an empty log: the counters say so, the file is empty
        QCOMPARE(engine.result.counters.total, 0);
    else
        QVERIFY(form.Lines("listConfirmed").contains(confirmedLine));
    QCOMPARE(form.Lines("listConfirmed"), engine.confirmed);
    QCOMPARE(form.Lines("listWorkedOnly"), engine.workedOnly);
    const auto counter = [&](const char* which) {
        return form.Text(qPrintable("label" + name + which));
    };
    QCOMPARE(counter("Total"), QString::number(engine.result.counters.total));
    QCOMPARE(counter("Worked"), QString::number(engine.result.counters.workedOnly));
    QCOMPARE(counter("Confirmed"), QString::number(engine.result.counters.confirmed));
    const QString upper = name.toUpper();
    QCOMPARE(form.Text("labelLstFile"), dir + upper + "pins.lst");
    QVERIFY(QFile::exists(dir + upper + "pins.lst"));
    QCOMPARE(ReadFile(dir + upper + "pins.lst"), ReadFile(pins.path() + "/engine.lst"));
    // The squares files are shown and written only when asked for, and only the award's.
    const QString squaresFile = dir + upper + "squares.";
    QCOMPARE(form.Text("labelWkdFile"), squares ? squaresFile + "wkd" : QString());
    QCOMPARE(form.Text("labelCfmFile"), squares ? squaresFile + "cfm" : QString());
    const QStringList written = QDir(pins.path()).entryList({"*.wkd", "*.cfm"}, QDir::Files);
    QCOMPARE(written.join(' '), squares ? upper + "squares.cfm " + upper + "squares.wkd" : "");
    // The log's read and the pins without a map position are reported: in full in the tool
    // tip, as much as fits in the line.
    QStringList parts;
    if (!readLine.isEmpty())
        parts.append(readLine);
    QStringList unplaced;
    for (const std::string& label : engine.result.unplaced)
        unplaced.append(QString::fromStdString(label));
    if (!unplaced.isEmpty())
        parts.append("No map position for: " + unplaced.join(", "));
    const auto* report = form.Control<QLabel>("labelRunReport");
    const QString full = parts.join(' ');
    QCOMPARE(report->toolTip(), full);
    const QString shown = report->text();
    QVERIFY2(shown == full || (shown.endsWith(QChar(0x2026)) && full.startsWith(shown.chopped(1))),
             qPrintable(shown));
}

void CorvaleViewTest::runLocksTheWholeFormUntilAfterThePause() {
    QTemporaryDir pins;
    const QString dir = pins.path() + "/";
    Form form(Fixture("demo-log.mdb"), dir);
    QSignalSpy ended(form.view, &CCorvaleView::RunEnded);
    QElapsedTimer sincePress;

    sincePress.start();
    form.Control<QPushButton>("buttonWasMixed")->click();
    for (const char* name : kLockedControls)
        QVERIFY2(!form.Control<QWidget>(name)->isEnabled(), name);
    // A second press, by any way in, starts nothing.
    form.view->OnDxccMixed();
    form.view->OnWasMixed();
    QCOMPARE(form.Text("labelLstFile"), dir + "WASpins.lst");

    QVERIFY(ended.wait(kRunTimeoutMs));
    QVERIFY(sincePress.elapsed() >= CCorvaleView::kUnlockDelayMs);
    for (const char* name : kLockedControls)
        QVERIFY2(form.Control<QWidget>(name)->isEnabled(), name);
    QTest::qWait(100);
    QCOMPARE(ended.count(), 1);
    QVERIFY(!QFile::exists(dir + "DXCCpins.lst"));
}

void CorvaleViewTest::failingRunReportsAndUnlocks_data() {
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("lstDir");  // below the test's folder
    QTest::addColumn<QString>("named");   // what the message names
    QTest::newRow("pin folder missing") << Fixture("demo-log.mdb") << "missing/"
                                        << "missing";
    QTest::newRow("log unreadable") << Fixture("garbage.mdb") << ""
                                    << "garbage.mdb";
    QTest::newRow("log without QSO table") << Fixture("no-qso-tab.mdb") << ""
                                           << "no-qso-tab.mdb";
}

void CorvaleViewTest::failingRunReportsAndUnlocks() {
    QFETCH(QString, log);
    QFETCH(QString, lstDir);
    QFETCH(QString, named);
    QTemporaryDir pins;
    const QString dir = pins.path() + "/" + lstDir;
    QFile::copy(Fixture("demo-log.tsv"), pins.path() + "/WASpins.lst");
    const QByteArray before = ReadFile(pins.path() + "/WASpins.lst");
    Form form(log, dir);
    ModalAnswerer answerer;

    QVERIFY(form.Run("buttonWasMixed"));

    QTRY_COMPARE(answerer.messages.size(), 1);
    QVERIFY2(answerer.messages.front().contains(named), qPrintable(answerer.messages.front()));
    for (const char* name : kLockedControls)
        QVERIFY2(form.Control<QWidget>(name)->isEnabled(), name);
    QVERIFY(form.Lines("listConfirmed").isEmpty() && form.Lines("listWorkedOnly").isEmpty());
    QCOMPARE(ReadFile(pins.path() + "/WASpins.lst"), before);
    QCOMPARE(QDir(pins.path()).entryList(QDir::Files), QStringList{"WASpins.lst"});
}

void CorvaleViewTest::closingDuringARunStopsItFirst() {
    QTemporaryDir pins;
    const QString dir = pins.path() + "/";
    // A run long enough to be caught in the middle.
    if (!QFile::exists(CORVALE_LARGE_LOG))
        QSKIP("the large log is not there");
    Form form(CORVALE_LARGE_LOG, dir);
    QSignalSpy ended(form.view, &CCorvaleView::RunEnded);

    form.Control<QPushButton>("buttonDxccMixed")->click();
    QVERIFY(!form.Frame().close());
    QVERIFY(form.Frame().isVisible());

    QVERIFY(ended.wait(kRunTimeoutMs));
    QTRY_VERIFY(!form.Frame().isVisible());
    QCOMPARE(form.Text("labelRunReport"), QString("The run was stopped; no file was changed."));
    QVERIFY(QDir(pins.path()).entryList(QDir::Files).isEmpty());
}

QTEST_MAIN(CorvaleViewTest)
#include "CorvaleViewTest.moc"
