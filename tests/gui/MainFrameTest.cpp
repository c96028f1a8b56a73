// The main window's first placement, its fit to the form, and the forms' captions.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtTest>

#include "GuiTestSupport.h"
#include "awards/CCorvaleView.h"
#include "shell/CAboutDlg.h"
#include "shell/CCorvaleDoc.h"
#include "shell/CMainFrame.h"
#include "shell/CPathsDlg.h"

using namespace corvale;
using corvale::test::TestWinePrefix;

class MainFrameTest : public QObject {
    Q_OBJECT
  private slots:
    void initialGeometry_data();
    void initialGeometry();
    void fitsTheFormByShrinkingOnly_data();
    void fitsTheFormByShrinkingOnly();
    void noCaptionIsClipped();
    void menuOpensTheAboutBox();
};

void MainFrameTest::initialGeometry_data() {
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("frame");
    const QRect xga(0, 0, 1024, 768);
    QTest::newRow("1024x768") << xga << xga << QRect(110, 22, 803, 724);
    QTest::newRow("1920x1080") << QRect(0, 0, 1920, 1080) << QRect(0, 0, 1920, 1080)
                               << QRect(334, 100, 1251, 880);
    // The rule would put the title bar 20 pixels above the screen.
    QTest::newRow("800x600") << QRect(0, 0, 800, 600) << QRect(0, 0, 800, 600)
                             << QRect(54, 0, 691, 640);
    QTest::newRow("panel on top") << xga << QRect(0, 32, 1024, 736) << QRect(110, 32, 803, 724);
    QTest::newRow("narrow screen")
        << QRect(0, 0, 480, 800) << QRect(0, 0, 480, 800) << QRect(0, 30, 531, 740);
}

void MainFrameTest::initialGeometry() {
    QFETCH(QRect, screen);
    QFETCH(QRect, available);
    QFETCH(QRect, frame);
    QCOMPARE(CMainFrame::InitialGeometry(screen, available), frame);
}

void MainFrameTest::fitsTheFormByShrinkingOnly_data() {
    QTest::addColumn<QSize>("before");
    QTest::newRow("larger than the form") << QSize(1251, 880);
    QTest::newRow("narrower than the form") << QSize(600, 880);
    QTest::newRow("smaller than the form") << QSize(600, 300);
}

void MainFrameTest::fitsTheFormByShrinkingOnly() {
    QFETCH(QSize, before);
    TestWinePrefix prefix;
    CCorvaleDoc doc("");
    CMainFrame frame;
    auto* view = new CCorvaleView(doc, prefix.Settings());
    frame.SetView(view);
    frame.move(40, 50);
    frame.resize(before);
    frame.show();

    frame.ResizeParentToFit();

    const QSize chrome(0, frame.menuWidget()->height());
    QCOMPARE(frame.size(), before.boundedTo(view->size() + chrome));
    QCOMPARE(frame.pos(), QPoint(40, 50));
}

namespace {

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

void MainFrameTest::noCaptionIsClipped() {
    TestWinePrefix prefix;
    CCorvaleDoc doc("");
    CCorvaleView view(doc, prefix.Settings());
    CPathsDlg paths(prefix.Settings());
    CAboutDlg about;
    for (const QWidget* form : std::initializer_list<const QWidget*>{&view, &paths, &about}) {
        for (const QWidget* control : form->findChildren<QWidget*>()) {
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

void MainFrameTest::menuOpensTheAboutBox() {
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
    corvale::test::ModalAnswerer answerer([&aboutTexts](QDialog& dialog) {
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            aboutTexts.append(label->text());
        dialog.accept();
    });
    frame.menuBar()->actions().last()->menu()->actions().at(0)->trigger();
    QCOMPARE(answerer.dialogTitles, QStringList{"About Corvale"});
    QVERIFY(aboutTexts.contains("Corvale - Version 1.02"));
}

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
