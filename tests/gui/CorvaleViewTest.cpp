// The main window and its form: options, the five award runs, the locking and
// failures, the menus, the placement and the captions.
#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtTest>

#include "CaseFile.h"
#include "GuiTestSupport.h"
#include "awards/AwardRun.h"
#include "awards/CCorvaleView.h"
#include "logdb/CSRC2006PriPFX.h"
#include "map/CMapWindow.h"
#include "shell/CAboutDlg.h"
#include "shell/CMainFrame.h"
#include "shell/CPathsDlg.h"

using namespace corvale;
using namespace corvale::test;

Q_DECLARE_METATYPE(corvale::Award)

namespace {

// What the engine itself lists for a run, to compare the form with.
struct EngineRun : RunObserver {
    QStringList confirmed, workedOnly;
    RunResult result;

    EngineRun(Award award, const QString& log, const QString& folder) {
        CSRC2006QSO qsoSet(log.toStdString());
        RunRequest request;
        request.award = award;
        request.lstPath = (folder + "engine.lst").toStdString();
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

bool AllEnabled(const StartedForm& form, bool enabled) {
    return std::ranges::all_of(kLockedControls, [&](const char* name) {
        return Child<QWidget>(form.View(), name)->isEnabled() == enabled;
    });
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The caption of a control, "" when it has none that could be clipped.
QString Caption(const QWidget& control) {
    if (auto* label = qobject_cast<const QLabel*>(&control))
        return label->wordWrap() ? QString() : label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(&control))
        return button->text().remove('&');
    if (auto* group = qobject_cast<const QGroupBox*>(&control))
        return group->title();
    return {};
}

// The width that the control leaves its caption.
int CaptionRoom(const QWidget& control) {
    auto* button = qobject_cast<const QAbstractButton*>(&control);
    if (button == nullptr)
        return control.contentsRect().width() - (control.inherits("QGroupBox") ? 16 : 0);
    QStyleOptionButton option;
    option.initFrom(button);
    const QStyle::SubElement contents = button->inherits("QCheckBox") ? QStyle::SE_CheckBoxContents
                                        : button->inherits("QRadioButton")
                                            ? QStyle::SE_RadioButtonContents
                                            : QStyle::SE_PushButtonContents;
    return button->style()->subElementRect(contents, &option, button).width();
}

}  // namespace

class CorvaleViewTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ForgetRecentLogs(); }  // the File menu lists none
    void bandButtonsAndCheckBoxes();
    void awardRun_data();
    void awardRun();
    void runLocksTheWholeFormUntilAfterThePause();
    void failingRunReportsAndUnlocks_data();
    void failingRunReportsAndUnlocks();
    void closingDuringARunStopsItFirst();
    void openLogAndConfirmations();
    void initialGeometry();
    void fitsTheFormByShrinkingOnly();
    void noCaptionIsClipped();
    void menuOpensTheAboutBox();
    void prefixRecordSetDeclaresTheColumnsOfRefdata();
};

// The band buttons set the VUCC band's code; each check box turns its squares on and off.
void CorvaleViewTest::bandButtonsAndCheckBoxes() {
    const StartedForm form(Fixture("demo-log.mdb"));
    const CCorvaleView& view = form.View();
    const auto click = [&](const char* control) { Child<QAbstractButton>(view, control)->click(); };
    QCOMPARE(view.m_strVuccBand, QString("1"));
    for (const auto& [button, code] : {std::pair{"radioBand144", "0"},
                                       {"radioBand222", "11"},
                                       {"radioBand222", "11"},
                                       {"radioBand432", "12"},
                                       {"radioBand50", "1"}}) {
        click(button);
        QCOMPARE(view.m_strVuccBand, QString(code));
    }
    for (bool ticked : {true, false}) {
        click("checkFfmaSquares");
        QCOMPARE(std::pair(view.m_bFfmaSquares, view.m_bVuccSquares), std::pair(ticked, !ticked));
        click("checkVuccSquares");
        QCOMPARE(std::pair(view.m_bFfmaSquares, view.m_bVuccSquares), std::pair(ticked, ticked));
    }
}

void CorvaleViewTest::awardRun_data() {
    QTest::addColumn<QString>("log");
    QTest::addColumn<Award>("award");
    QTest::addColumn<bool>("squares");  // with the award's squares check box ticked
    // The example log has confirmed and worked-only entities, and a state without a position.
    for (Award award : {Award::Ffma, Award::Was, Award::Dxcc, Award::Iota, Award::Vucc})
        QTest::addRow("demo-log %s", AwardName(award).data()) << "demo-log.mdb" << award << false;
    QTest::newRow("demo-log VUCC squares") << "demo-log.mdb" << Award::Vucc << true;
    QTest::newRow("empty-log WAS") << "empty-log.mdb" << Award::Was << false;
    QTest::newRow("ADIF log DXCC") << "adif/sample-lotw.adi" << Award::Dxcc << false;
}

void CorvaleViewTest::awardRun() {
    QFETCH(QString, log);
    QFETCH(Award, award);
    QFETCH(bool, squares);
    log = Fixture(log);
    const QString upper = QString::fromUtf8(AwardName(award));    // "WAS"
    const QString name = upper.left(1) + upper.mid(1).toLower();  // "Was", as the controls say
    const StartedForm form(log);
    const QString dir = form.Folder();
    const EngineRun engine(award, log, dir);
    if (squares)
        Child<QCheckBox>(form.View(), qPrintable("check" + name + "Squares"))->click();

    const bool mixed = award == Award::Was || award == Award::Dxcc || award == Award::Iota;
    QVERIFY(form.Run(qPrintable("button" + name + (mixed ? "Mixed" : ""))));

    // View > Map (Ctrl+M) shows the run just completed, its award chosen.
    auto* viewMap = Child<QAction>(form.Frame(), "actionViewMap");
    QCOMPARE(viewMap->shortcut(), QKeySequence("Ctrl+M"));
    viewMap->trigger();
    const auto* map = form.Frame().findChild<CMapWindow*>();
    QVERIFY(map->isVisible());
    QCOMPARE(Child<QLabel>(*map, "labelStatus")->text(),
             (award == Award::Vucc ? "VUCC-50" : upper) + " on " + QFileInfo(log).fileName());

    // The lists and counters show what the engine found; an empty log counts "0".
    QCOMPARE(form.Lines("listConfirmed"), engine.confirmed);
    QCOMPARE(form.Lines("listWorkedOnly"), engine.workedOnly);
    QCOMPARE(engine.confirmed.isEmpty(), log.endsWith("empty-log.mdb"));
    const auto counter = [&](const char* which) {
        return form.Text(qPrintable("label" + name + which));
    };
    QCOMPARE(counter("Total"), QString::number(engine.result.counters.total));
    QCOMPARE(counter("Worked"), QString::number(engine.result.counters.workedOnly));
    QCOMPARE(counter("Confirmed"), QString::number(engine.result.counters.confirmed));
    QCOMPARE(form.Text("labelLstFile"), dir + upper + "pins.lst");
    QCOMPARE(ReadFile(dir + upper + "pins.lst"), ReadFile(dir + "engine.lst"));
    // The squares files are shown and written only when asked for, and only the award's.
    const QString squaresFile = dir + upper + "squares.";
    QCOMPARE(form.Text("labelWkdFile"), squares ? squaresFile + "wkd" : QString());
    QCOMPARE(form.Text("labelCfmFile"), squares ? squaresFile + "cfm" : QString());
    const QStringList written = QDir(dir).entryList({"*.wkd", "*.cfm"}, QDir::Files);
    QCOMPARE(written.join(' '), squares ? upper + "squares.cfm " + upper + "squares.wkd" : "");
    // An ADIF log's read, and the pins without a map position, are reported: in full in the
    // tool tip, as much as fits in the line.
    QStringList parts;
    if (log.endsWith(".adi"))
        parts.append("ADIF log \"" + log +
                     "\": 300 records read, 516 rows made, 57 entities from calls, 3 records "
                     "without a date, 34 without an entity.");
    QStringList unplaced;
    for (const std::string& label : engine.result.unplaced)
        unplaced.append(QString::fromStdString(label));
    if (!unplaced.isEmpty())
        parts.append("No map position for: " + unplaced.join(", "));
    const auto* report = Child<QLabel>(form.View(), "labelRunReport");
    const QString full = parts.join(' ');
    QCOMPARE(report->toolTip(), full);
    const QString shown = report->text();
    QVERIFY2(shown == full || (shown.endsWith(QChar(0x2026)) && full.startsWith(shown.chopped(1))),
             qPrintable(shown));
}

void CorvaleViewTest::runLocksTheWholeFormUntilAfterThePause() {
    const StartedForm form(Fixture("demo-log.mdb"));
    QSignalSpy ended(&form.View(), &CCorvaleView::RunEnded);
    QElapsedTimer sincePress;

    sincePress.start();
    Child<QAbstractButton>(form.View(), "buttonWasMixed")->click();
    QVERIFY(AllEnabled(form, false));
    // A second press, by any way in, starts nothing.
    form.View().OnDxccMixed();
    form.View().OnWasMixed();
    QCOMPARE(form.Text("labelLstFile"), form.Folder() + "WASpins.lst");

    QVERIFY(ended.wait(120000));
    QVERIFY(sincePress.elapsed() >= CCorvaleView::kUnlockDelayMs);
    QVERIFY(AllEnabled(form, true));
    QTest::qWait(100);
    QCOMPARE(ended.count(), 1);
    QVERIFY(!QFile::exists(form.Folder() + "DXCCpins.lst"));
}

void CorvaleViewTest::failingRunReportsAndUnlocks_data() {
    QTest::addColumn<QString>("lstDir");   // below the form's folder
    QTest::addColumn<QString>("readLog");  // the fixture the log has become when the run reads it
    QTest::addColumn<QString>("named");    // what the message names
    QTest::newRow("pin folder missing") << "missing/" << QString("demo-log.mdb") << "missing";
    QTest::newRow("log unreadable") << "" << QString("garbage.mdb") << "log.mdb";
    QTest::newRow("log without QSO table") << "" << QString("no-qso-tab.mdb") << "log.mdb";
}

void CorvaleViewTest::failingRunReportsAndUnlocks() {
    QFETCH(QString, lstDir);
    QFETCH(QString, readLog);
    QFETCH(QString, named);
    QTemporaryDir logs;
    const QString log = logs.filePath("log.mdb");
    QFile::copy(Fixture("demo-log.mdb"), log);
    const StartedForm form(log, lstDir);
    QFile::remove(log);
    QFile::copy(Fixture(readLog), log);
    QFile::copy(Fixture("demo-log.tsv"), form.Folder() + "WASpins.lst");
    const QByteArray before = ReadFile(form.Folder() + "WASpins.lst");
    ModalAnswerer answerer;

    QVERIFY(form.Run("buttonWasMixed"));

    QTRY_COMPARE(answerer.messages.size(), 1);
    QVERIFY2(answerer.messages.front().contains(named), qPrintable(answerer.messages.front()));
    QVERIFY(AllEnabled(form, true));
    QVERIFY(form.Lines("listConfirmed").isEmpty() && form.Lines("listWorkedOnly").isEmpty());
    QCOMPARE(ReadFile(form.Folder() + "WASpins.lst"), before);
    QCOMPARE(QDir(form.Folder()).entryList(QDir::Files), QStringList{"WASpins.lst"});
}

void CorvaleViewTest::closingDuringARunStopsItFirst() {
    // A run long enough to be caught in the middle.
    if (!QFile::exists(CORVALE_LARGE_LOG))
        QSKIP("the large log is not there");
    const StartedForm form(CORVALE_LARGE_LOG);
    QSignalSpy ended(&form.View(), &CCorvaleView::RunEnded);

    Child<QAbstractButton>(form.View(), "buttonDxccMixed")->click();
    QVERIFY(!form.Frame().close());
    QVERIFY(form.Frame().isVisible());

    QVERIFY(ended.wait(120000));
    QTRY_VERIFY(!form.Frame().isVisible());
    QCOMPARE(form.Text("labelRunReport"), QString("The run was stopped; no file was changed."));
    QVERIFY(QDir(form.Folder()).entryList(QDir::Files).isEmpty());
}

// File > Open Log changes the log that the runs read; the Confirmations menu, what counts.
void CorvaleViewTest::openLogAndConfirmations() {
    const StartedForm form(Fixture("demo-log.mdb"));
    ModalAnswerer answerer;
    QVERIFY(!form.Frame().OpenLog(Fixture("garbage.mdb")));
    QCOMPARE(answerer.messages.size(), 1);
    QCOMPARE(form.Text("labelSourceMdb"), Fixture("demo-log.mdb"));
    QVERIFY(form.Frame().OpenLog(Fixture("adif/sample-plain.adi")));
    QCOMPARE(form.Text("labelSourceMdb"), Fixture("adif/sample-plain.adi"));

    // The same counts as corvale-cli --confirmations gives on this log.
    for (const auto& [actions, worked, confirmed] :
         {std::tuple{QStringList{}, "71", "0"},
          {QStringList{"Card"}, "52", "19"},
          {QStringList{"Eqsl"}, "47", "24"},
          {QStringList{"Card", "Lotw", "Eqsl"}, "35", "36"}}) {
        for (const char* source : {"Card", "Lotw", "Eqsl"})
            Child<QAction>(form.Frame(), qPrintable(QString("actionConfirm") + source))
                ->setChecked(actions.contains(source));
        QVERIFY(form.Run("buttonDxccMixed"));
        QCOMPARE(form.Text("labelDxccWorked"), QString(worked));
        QCOMPARE(form.Text("labelDxccConfirmed"), QString(confirmed));
    }
    QCOMPARE(answerer.messages.size(), 1);
}

void CorvaleViewTest::initialGeometry() {
    const auto rect = [](const std::string& field) {
        const std::vector<double> n = Numbers(field);
        return QRectF(n.at(0), n.at(1), n.at(2), n.at(3)).toRect();
    };
    for (const Case& c : ReadCases("gui/cases/frame-geometry.tsv"))
        QCOMPARE(CMainFrame::InitialGeometry(rect(c[0]), rect(c[1])), rect(c[2]));
}

void CorvaleViewTest::fitsTheFormByShrinkingOnly() {
    const StartedForm form(Fixture("demo-log.mdb"));
    CMainFrame& frame = form.Frame();
    const QSize chrome(0, frame.menuWidget()->height());
    for (const QSize before : {QSize(1251, 880), QSize(600, 880), QSize(600, 300)}) {
        frame.move(40, 50);
        frame.resize(before);
        frame.ResizeParentToFit();
        QCOMPARE(frame.size(), before.boundedTo(form.View().size() + chrome));
        QCOMPARE(frame.pos(), QPoint(40, 50));
    }
}

void CorvaleViewTest::noCaptionIsClipped() {
    const StartedForm form(Fixture("demo-log.mdb"));
    TestWinePrefix prefix;
    CPathsDlg paths(prefix.Settings());
    CAboutDlg about;
    for (const QWidget* dialog :
         std::initializer_list<const QWidget*>{&form.View(), &paths, &about}) {
        for (const QWidget* control : dialog->findChildren<QWidget*>()) {
            const QString caption = Caption(*control);
            if (caption.isEmpty())
                continue;
            const int needed = control->fontMetrics().horizontalAdvance(caption);
            QVERIFY2(needed <= CaptionRoom(*control),
                     qPrintable(QString("%1 \"%2\" needs %3 px, has %4")
                                    .arg(control->objectName(), caption)
                                    .arg(needed)
                                    .arg(CaptionRoom(*control))));
            QVERIFY2(control->inherits("QGroupBox") ||
                         control->fontMetrics().height() <= control->height(),
                     qPrintable(control->objectName()));
        }
    }
}

void CorvaleViewTest::menuOpensTheAboutBox() {
    CMainFrame frame;
    QStringList menu;
    for (const QAction* top : frame.menuBar()->actions()) {
        menu.append(top->text());
        for (const QAction* item : top->menu()->actions())
            menu.append("  " + item->text());
    }
    QCOMPARE(menu, QStringList({"&File", "  &Open Log...", "  ", "  E&xit", "&View", "  &Map",
                                "&Confirmations", "  &Cards (ADIF logs)", "  &LoTW (ADIF logs)",
                                "  &eQSL (ADIF logs)", "&Help", "  &About Corvale..."}));

    QStringList aboutTexts;
    ModalAnswerer answerer([&aboutTexts](QDialog& dialog) {
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            aboutTexts.append(label->text());
        dialog.accept();
    });
    frame.menuBar()->actions().last()->menu()->actions().at(0)->trigger();
    QCOMPARE(answerer.dialogTitles, QStringList{"About Corvale"});
    QVERIFY(aboutTexts.contains("Corvale - Version 1.02"));
}

// The form's prefix record set declares the columns of a real Refdata database.
void CorvaleViewTest::prefixRecordSetDeclaresTheColumnsOfRefdata() {
    QFile tsv(Fixture("Refdata.tsv"));
    QVERIFY(tsv.open(QIODevice::ReadOnly));
    const QList<QByteArray> header = tsv.readLine().trimmed().split('\t');
    const QList<QByteArray> firstRow = tsv.readLine().trimmed().split('\t');
    const auto& fields = CSRC2006PriPFX::Fields();
    QCOMPARE(qsizetype(fields.size()), header.size());
    for (qsizetype i = 0; i < header.size(); ++i) {
        const auto& field = fields[std::size_t(i)];
        QCOMPARE(QByteArray(field.name.data(), qsizetype(field.name.size())),
                 "[" + header.at(i) + "]");
        // A Boolean column holds 0 or 1 in every row.
        if (field.type == CSRC2006PriPFX::FieldType::Bool)
            QVERIFY2(firstRow.at(i) == "0" || firstRow.at(i) == "1", header.at(i).constData());
    }
    QCOMPARE(CSRC2006PriPFX("").GetDefaultSQL(), std::string("[PREFIX-Pri]"));
}

QTEST_MAIN(CorvaleViewTest)
#include "CorvaleViewTest.moc"
