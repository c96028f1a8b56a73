#include "shell/CMainFrame.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <algorithm>

#include "awards/CAwardRunThread.h"
#include "awards/CCorvaleView.h"
#include "map/CMapWindow.h"
#include "res/CorvaleStrings.h"
#include "shell/CAboutDlg.h"
#include "shell/CCorvaleApp.h"
#include "shell/RecentFileList.h"
#include "ui_CMainFrame.h"

namespace corvale {

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::CMainFrame>()) {
    m_ui->setupUi(this);
    connect(m_ui->actionAppExit, &QAction::triggered, this, &QWidget::close);
    connect(m_ui->actionAppAbout, &QAction::triggered, this, &CMainFrame::OnAppAbout);
    connect(m_ui->actionOpenLog, &QAction::triggered, this, &CMainFrame::OnOpenLog);
    connect(this, &CMainFrame::OpenRecentLog, this, &CMainFrame::OpenLog);
    for (QAction* action :
         {m_ui->actionConfirmCard, m_ui->actionConfirmLotw, m_ui->actionConfirmEqsl})
        connect(action, &QAction::toggled, this, &CMainFrame::OnConfirmations);
    connect(m_ui->actionViewMap, &QAction::triggered, this, &CMainFrame::OnViewMap);
    connect(m_ui->menuFile, &QMenu::aboutToShow, this, &CMainFrame::UpdateRecentFileMenu);
    UpdateRecentFileMenu();
}

CMainFrame::~CMainFrame() = default;

QRect CMainFrame::InitialGeometry(const QRect& screen, const QRect& available) {
    const int height = screen.height() / 2 + 340;
    const int width = screen.width() / 2 + 291;
    const int top = std::max((height - 680) / 2, available.top());
    const int left = std::max((width - 582) / 2, available.left());
    return {left, top, width, height};
}

void CMainFrame::PreCreateWindow() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect rect = InitialGeometry(screen->geometry(), screen->availableGeometry());
    move(rect.topLeft());
    resize(rect.size());
}

void CMainFrame::SetView(CCorvaleView* view) {
    auto* scroller = new QScrollArea(this);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidget(view);
    setCentralWidget(scroller);
    m_pView = view;
    connect(view, &CCorvaleView::RunEnded, this, [this] {
        if (m_bCloseWhenRunEnds)
            close();
    });
    m_pMapWindow = new CMapWindow(this);
    connect(view, &CCorvaleView::RunCompleted, m_pMapWindow,
            [this](const CAwardRunOutcome& outcome) {
                m_pMapWindow->ShowRun(outcome.request, outcome.logPath, outcome.result);
            });
}

void CMainFrame::OnViewMap() {
    if (m_pMapWindow == nullptr)
        return;
    if (!m_bMapWindowPlaced) {
        // Beside the main window where the screen has room for it; else where the window
        // manager puts it.
        const QPoint beside = frameGeometry().topRight() + QPoint(1, 0);
        if (screen()->availableGeometry().contains(QRect(beside, m_pMapWindow->frameSize())))
            m_pMapWindow->move(beside);
        m_bMapWindowPlaced = true;
    }
    m_pMapWindow->show();
    m_pMapWindow->raise();
    m_pMapWindow->activateWindow();
}

void CMainFrame::ResizeParentToFit(bool shrinkOnly) {
    if (m_pView == nullptr)
        return;
    layout()->activate();
    const QSize needed = m_pView->size() + (size() - centralWidget()->size());
    resize(shrinkOnly ? size().boundedTo(needed) : needed);
}

void CMainFrame::OnAppAbout() {
    CAboutDlg aboutDlg(this);
    aboutDlg.exec();
}

void CMainFrame::UpdateRecentFileMenu() {
    qDeleteAll(m_recentFileActions);
    m_recentFileActions.clear();
    const QStringList files = RecentFileList();
    if (files.isEmpty())
        return;
    for (qsizetype index = 0; index < files.size(); ++index) {
        const QString& file = files.at(index);
        auto* action = new QAction(
            QString("&%1 %2").arg(index + 1).arg(QString(file).replace('&', "&&")), this);
        action->setObjectName(QString("actionRecentFile%1").arg(index + 1));
        connect(action, &QAction::triggered, this, [this, file] { emit OpenRecentLog(file); });
        m_ui->menuFile->insertAction(m_ui->actionAppExit, action);
        m_recentFileActions.append(action);
    }
    m_recentFileActions.append(m_ui->menuFile->insertSeparator(m_ui->actionAppExit));
}

void CMainFrame::OnOpenLog() {
    if (m_pView == nullptr || m_pView->IsRunning())
        return;
    const QString path = QFileDialog::getOpenFileName(
        this, strings::kOpenLogTitle, QFileInfo(m_pView->m_strSourceMdb).absolutePath(),
        strings::kLogFilter);
    if (!path.isEmpty())
        OpenLog(path);
}

bool CMainFrame::OpenLog(const QString& path) {
    if (m_pView == nullptr || m_pView->IsRunning() ||
        !CCorvaleApp::CheckLog(path.toStdString(), this))
        return false;
    m_pView->SetSourceLog(path);
    AddToRecentFileList(path);
    return true;
}

void CMainFrame::OnConfirmations() {
    if (m_pView == nullptr)
        return;
    m_pView->m_confirmations = {m_ui->actionConfirmCard->isChecked(),
                                m_ui->actionConfirmLotw->isChecked(),
                                m_ui->actionConfirmEqsl->isChecked()};
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_pView != nullptr && m_pView->IsRunning()) {
        m_bCloseWhenRunEnds = true;
        m_pView->StopRun();
        event->ignore();
        return;
    }
    if (m_pMapWindow != nullptr)
        m_pMapWindow->close();
    event->accept();
}

}  // namespace corvale
