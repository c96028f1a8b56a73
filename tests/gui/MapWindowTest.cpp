// The Map window after runs of the demo log: the award chosen and followed, the projection,
// the text of the entity under the pointer, the contacts of the one clicked, saving the map.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <cmath>

#include "GuiTestSupport.h"
#include "awards/AwardRun.h"
#include "map/AzimuthalProjection.h"
#include "map/CMapWidget.h"
#include "map/CMapWindow.h"
#include "map/Maidenhead.h"

using namespace corvale;
using corvale::test::Fixture;
using corvale::test::ModalAnswerer;

namespace {

// A completed run of the demo log, as the form hands it to the window.
struct DemoRun {
    explicit DemoRun(Award award, int bandMegahertz = 50) {
        request.award = award;
        request.lstPath = (folder.path() + "/pins.lst").toStdString();
        request.vuccBand = std::string(VuccBandCode(bandMegahertz));
        CSRC2006QSO qsoSet(log);
        RunObserver quiet;
        result = RunAward(request, qsoSet, quiet);
    }
    const AwardEntity& Entity(const std::string& key) const {
        return *std::ranges::find(result.entities, key, &AwardEntity::key);
    }

    QTemporaryDir folder;
    const std::string log = Fixture("demo-log.mdb").toStdString();
    RunRequest request;
    RunResult result;
};

template <typename T>
T* Child(const QWidget& window, const char* name) {
    T* child = window.findChild<T*>(name);
    if (child == nullptr)
        qFatal("no child %s", name);
    return child;
}

// The window on the screen, showing `run` when given.
bool Show(CMapWindow& window, const DemoRun* run = nullptr) {
    window.resize(1200, 800);
    window.show();
    if (run != nullptr)
        window.ShowRun(run->request, run->log, run->result);
    return QTest::qWaitForWindowExposed(&window);
}

// Where the map widget shows an entity's pin position.
QPoint PixelOf(const CMapWidget& map, const AwardEntity& entity) {
    const GeoPoint point =
        GeoPointFromPinUnits(entity.position->longitude, entity.position->latitude);
    return map.View().ToPixel(map.Renderer().CurrentProjection().ToPlane(point)).toPoint();
}

}  // namespace

class MapWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void showsTheLastRunOfTheAwardChosen();
    void hoverTellsWhatIsUnderThePointer();
    void clickListsTheContacts();
    void wheelZoomsDragPansDoubleClickResets();
    void savesTheMap();
};

void MapWindowTest::showsTheLastRunOfTheAwardChosen() {
    CMapWindow window;
    window.show();
    auto* award = Child<QComboBox>(window, "comboAward");
    auto* status = Child<QLabel>(window, "labelStatus");
    QVERIFY(status->text().startsWith("No completed run of DXCC"));

    const DemoRun was(Award::Was);
    window.ShowRun(was.request, was.log, was.result);
    QCOMPARE(award->currentText(), "WAS");
    QCOMPARE(status->text(), "WAS on demo-log.mdb");
    // A new run is followed: the window shows it, with the band of a VUCC run.
    const DemoRun vucc(Award::Vucc, 144);
    window.ShowRun(vucc.request, vucc.log, vucc.result);
    QCOMPARE(award->currentText(), "VUCC 144 MHz");
    QCOMPARE(status->text(), "VUCC-144 on demo-log.mdb");
    // Choosing an award shows its last run, or says there is none.
    award->setCurrentText("WAS");
    QCOMPARE(status->text(), "WAS on demo-log.mdb");
    award->setCurrentText("IOTA");
    QVERIFY(status->text().startsWith("No completed run of IOTA"));
}

void MapWindowTest::hoverTellsWhatIsUnderThePointer() {
    CMapWindow window;
    const DemoRun was(Award::Was);
    QVERIFY(Show(window, &was));
    auto* map = Child<CMapWidget>(window, "mapWidget");
    auto* hover = Child<QLabel>(window, "labelHover");
    const AwardEntity& texas = was.Entity("TX");

    QTest::mouseMove(map, PixelOf(*map, texas));
    QCOMPARE(hover->text(), QString("TX Texas | Confirmed, %1 contacts").arg(texas.contacts));
    QTest::mouseMove(map, map->View().ToPixel(QPointF(-140, 0)).toPoint());  // the Pacific
    QCOMPARE(hover->text(), QString());

    // Azimuthal around the home typed: distance and bearing from there too.
    Child<QLineEdit>(window, "editHome")->setText("FN42");
    Child<QComboBox>(window, "comboProjection")->setCurrentIndex(1);
    QTest::mouseMove(map, PixelOf(*map, texas));
    const AzimuthalProjection home(*LocatorCentre("FN42"));
    const GeoPoint point =
        GeoPointFromPinUnits(texas.position->longitude, texas.position->latitude);
    QCOMPARE(hover->text(), QString("TX Texas | Confirmed, %1 contacts | %2 km, bearing %3°")
                                .arg(texas.contacts)
                                .arg(std::lround(home.DistanceKmFromHome(point)))
                                .arg(std::lround(home.BearingFromHome(point))));

    // Needed pins can be hidden; the pointer then finds nothing there.
    const DemoRun dxcc(Award::Dxcc);
    window.ShowRun(dxcc.request, dxcc.log, dxcc.result);
    Child<QComboBox>(window, "comboProjection")->setCurrentIndex(0);
    const AwardEntity& needed = dxcc.Entity("3D2");
    QCOMPARE(needed.status, EntityStatus::Needed);
    QTest::mouseMove(map, PixelOf(*map, needed));
    QVERIFY(hover->text().startsWith("3D2 "));
    QVERIFY(hover->text().contains("Needed, 0 contacts"));
    Child<QCheckBox>(window, "checkShowNeeded")->setChecked(false);
    QTest::mouseMove(map, PixelOf(*map, needed) + QPoint(1, 0));
    QCOMPARE(hover->text(), QString());
}

void MapWindowTest::clickListsTheContacts() {
    CMapWindow window;
    const DemoRun was(Award::Was);
    QVERIFY(Show(window, &was));
    auto* map = Child<CMapWidget>(window, "mapWidget");
    auto* list = Child<QTreeWidget>(window, "listContacts");
    const AwardEntity& texas = was.Entity("TX");
    QVERIFY(texas.contacts > 1);

    QSignalSpy shown(&window, &CMapWindow::ContactsShown);
    QTest::mouseClick(map, Qt::LeftButton, {}, PixelOf(*map, texas));
    QVERIFY(shown.wait(30000));
    QCOMPARE(Child<QLabel>(window, "labelContacts")->text(),
             QString("TX: %1 contacts").arg(texas.contacts));
    QCOMPARE(list->topLevelItemCount(), static_cast<int>(texas.contacts));
    QCOMPARE(list->headerItem()->text(2), "Call");
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* contact = list->topLevelItem(row);
        QVERIFY2(QRegularExpression("^\\d{4}-\\d{2}-\\d{2}$").match(contact->text(0)).hasMatch(),
                 qPrintable(contact->text(0)));
        QVERIFY(!contact->text(2).isEmpty());
        QVERIFY(contact->text(5).startsWith("confirmed") || contact->text(5).startsWith("no"));
    }
    // Texas is confirmed: one of its contacts at least confirms it.
    QVERIFY(!list->findItems("confirmed", Qt::MatchStartsWith, 5).isEmpty());
    // Another award clears the list.
    Child<QComboBox>(window, "comboAward")->setCurrentText("DXCC");
    QCOMPARE(list->topLevelItemCount(), 0);
}

void MapWindowTest::wheelZoomsDragPansDoubleClickResets() {
    CMapWindow window;
    QVERIFY(Show(window));
    auto* map = Child<CMapWidget>(window, "mapWidget");
    const QPointF cursor(300, 200);
    const QPointF held = map->View().ToPlane(cursor);

    // Two notches in: the place under the pointer stays under it.
    QWheelEvent wheel(cursor, map->mapToGlobal(cursor), {}, {0, 240}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(map, &wheel);
    QCOMPARE(map->View().Zoom(), 1.25 * 1.25);
    QVERIFY((map->View().ToPixel(held) - cursor).manhattanLength() < 1e-6);

    // A drag moves the map with the pointer; a click that barely moves does not.
    QTest::mousePress(map, Qt::LeftButton, {}, QPoint(300, 200));
    QTest::mouseMove(map, QPoint(302, 201));
    QTest::mouseMove(map, QPoint(400, 250));
    QTest::mouseRelease(map, Qt::LeftButton, {}, QPoint(400, 250));
    QVERIFY((map->View().ToPixel(held) - QPointF(400, 250)).manhattanLength() < 1e-6);

    QTest::mouseDClick(map, Qt::LeftButton, {}, QPoint(500, 300));
    QCOMPARE(map->View().Zoom(), 1.0);
    QCOMPARE(map->View().ToPlane(QPointF(map->width() / 2.0, map->height() / 2.0)), QPointF(0, 0));
}

void MapWindowTest::savesTheMap() {
    CMapWindow window;
    window.resize(900, 600);
    window.show();
    const DemoRun ffma(Award::Ffma);
    window.ShowRun(ffma.request, ffma.log, ffma.result);
    QTemporaryDir folder;
    for (const char* name : {"map.png", "map.svg", "map.pdf"}) {
        const QString path = folder.path() + "/" + name;
        QVERIFY(window.SaveMap(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray head = file.read(5);
        QVERIFY2(head.contains("PNG") || head.startsWith("<?xml") || head.startsWith("%PDF"), name);
    }
    // A folder that is not there: the user is told, nothing is written.
    ModalAnswerer answerer;
    QVERIFY(!window.SaveMap(folder.path() + "/no-such-folder/map.png"));
    QCOMPARE(answerer.messages.size(), 1);
    QVERIFY(answerer.messages.front().contains("no-such-folder/map.png"));
}

QTEST_MAIN(MapWindowTest)
#include "MapWindowTest.moc"
