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
using namespace corvale::test;

namespace {

// A completed run of the demo log, handed to the window as the form hands it.
struct DemoRun {
    DemoRun(CMapWindow& window, Award award, int bandMegahertz = 50) {
        request.award = award;
        request.lstPath = (folder.path() + "/pins.lst").toStdString();
        request.vuccBand = std::string(VuccBandCode(bandMegahertz));
        CSRC2006QSO qsoSet(log);
        RunObserver quiet;
        result = RunAward(request, qsoSet, quiet);
        window.ShowRun(request, log, result);
    }
    const AwardEntity& Entity(const std::string& key) const {
        return *std::ranges::find(result.entities, key, &AwardEntity::key);
    }

    QTemporaryDir folder;
    const std::string log = Fixture("demo-log.mdb").toStdString();
    RunRequest request;
    RunResult result;
};

// The window on the screen, as large as the tests need it.
bool Show(CMapWindow& window) {
    window.resize(1200, 800);
    window.show();
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
    void pointerOverAndClickOnTheMap();
    void wheelZoomsDragPansDoubleClickResets();
    void savesTheMap();
};

void MapWindowTest::showsTheLastRunOfTheAwardChosen() {
    CMapWindow window;
    window.show();
    auto* award = Child<QComboBox>(window, "comboAward");
    auto* status = Child<QLabel>(window, "labelStatus");
    QVERIFY(status->text().startsWith("No completed run of DXCC"));

    // A new run is followed: the window shows it, with the band of a VUCC run.
    const DemoRun was(window, Award::Was);
    const DemoRun vucc(window, Award::Vucc, 144);
    QCOMPARE(award->currentText(), "VUCC 144 MHz");
    QCOMPARE(status->text(), "VUCC-144 on demo-log.mdb");
    // Choosing an award shows its last run, or says there is none.
    award->setCurrentText("WAS");
    QCOMPARE(status->text(), "WAS on demo-log.mdb");
    award->setCurrentText("IOTA");
    QVERIFY(status->text().startsWith("No completed run of IOTA"));
}

void MapWindowTest::pointerOverAndClickOnTheMap() {
    CMapWindow window;
    QVERIFY(Show(window));
    const DemoRun was(window, Award::Was);
    auto* map = Child<CMapWidget>(window, "mapWidget");
    auto* hover = Child<QLabel>(window, "labelHover");
    auto* list = Child<QTreeWidget>(window, "listContacts");
    const AwardEntity& texas = was.Entity("TX");
    QVERIFY(texas.contacts > 1);

    // A click lists the contacts of the entity under the pointer.
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

    // The pointer over it tells what it is.
    QTest::mouseMove(map, PixelOf(*map, texas));
    QCOMPARE(hover->text(), QString("TX Texas | Confirmed, %1 contacts").arg(texas.contacts));

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

    // Another award clears the list.
    Child<QComboBox>(window, "comboAward")->setCurrentText("DXCC");
    QCOMPARE(list->topLevelItemCount(), 0);

    // Needed pins can be hidden; the pointer then finds nothing there.
    const DemoRun dxcc(window, Award::Dxcc);
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

// The file's name chooses its format; a file that cannot be written is reported.
void MapWindowTest::savesTheMap() {
    CMapWindow window;
    QVERIFY(Show(window));
    const DemoRun ffma(window, Award::Ffma);
    QTemporaryDir folder;
    for (const auto& [name, head] : {std::pair{"map.png", "\x89PNG"},
                                     {"map.svg", "<?xml"},
                                     {"map.pdf", "%PDF"},
                                     {"map", "\x89PNG"}}) {
        QVERIFY(window.SaveMap(folder.filePath(name)));
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(file.read(5).startsWith(head), name);
    }
    ModalAnswerer answerer;
    QVERIFY(!window.SaveMap(folder.path() + "/no-such-folder/map.png"));
    QCOMPARE(answerer.messages.size(), 1);
    QVERIFY(answerer.messages.front().contains("no-such-folder/map.png"));
}

QTEST_MAIN(MapWindowTest)
#include "MapWindowTest.moc"
