#pragma once

#include <QMainWindow>
#include <QRect>
#include <memory>

namespace Ui {
class CMainFrame;
}

namespace corvale {

class CCorvaleView;
class CMapWindow;

// The main window: the menu and the form, no toolbar and no status bar.
class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The first placement on a screen of `screen` (W by H): W/2 + 291 by H/2 + 340, centred on
    // the screen as the rule always did, then moved down or right where needed so that the
    // title bar lies inside `available`, the part of the screen that windows may use.
    static QRect InitialGeometry(const QRect& screen, const QRect& available);
    // Places the frame by that rule on the primary screen.
    void PreCreateWindow();

    // Takes the form as the window's client (scrolled when the frame is smaller).
    void SetView(CCorvaleView* view);
    CCorvaleView* GetActiveView() const { return m_pView; }
    // Sizes the frame to fit the form, by default shrinking it only; the top-left corner stays.
    void ResizeParentToFit(bool shrinkOnly = true);

    // The log that the runs read from now on, once it has passed the start-up check; false
    // (with a message shown) when it has not.
    bool OpenLog(const QString& path);

  public slots:
    void OnAppAbout();
    // File > Open Log...: a log of either kind, picked with a file dialog.
    void OnOpenLog();
    // The Confirmations menu: which confirmations of an ADIF log count (not stored).
    void OnConfirmations();
    // View > Map: the map of the awards' runs, beside the form.
    void OnViewMap();

  signals:
    // A log of the recent-file list was chosen under File; the frame opens it (OpenLog).
    void OpenRecentLog(const QString& file);

  protected:
    // A run in progress is stopped first; the frame closes when it has ended.
    void closeEvent(QCloseEvent* event) override;

  private:
    // The recent-file list under File, before Exit, read afresh each time the menu opens.
    void UpdateRecentFileMenu();

    std::unique_ptr<Ui::CMainFrame> m_ui;
    QList<QAction*> m_recentFileActions;
    CCorvaleView* m_pView = nullptr;
    CMapWindow* m_pMapWindow = nullptr;  // made with the form, so that it sees every run
    bool m_bMapWindowPlaced = false;
    bool m_bCloseWhenRunEnds = false;
};

}  // namespace corvale
