#include "shell/CScreenshot.h"

#include <QCoreApplication>
#include <QPixmap>
#include <array>
#include <memory>

#include "awards/CCorvaleView.h"
#include "shell/CMainFrame.h"

namespace corvale {

void RunAwardsThenSaveScreenshot(CMainFrame& frame, const QString& file,
                                 std::function<void(bool saved)> done) {
    CCorvaleView* view = frame.GetActiveView();
    static constexpr std::array kRuns{&CCorvaleView::OnFfma, &CCorvaleView::OnDxccMixed,
                                      &CCorvaleView::OnIotaMixed, &CCorvaleView::OnVucc,
                                      &CCorvaleView::OnWasMixed};
    auto next = std::make_shared<std::size_t>(0);
    auto connection = std::make_shared<QMetaObject::Connection>();
    const auto runNext = [view, &frame, file, done, next, connection] {
        if (*next < kRuns.size()) {
            (view->*kRuns[(*next)++])();
            return;
        }
        QObject::disconnect(*connection);
        frame.ResizeParentToFit(false);
        QCoreApplication::processEvents();  // the scroll area learns that the form fits
        done(frame.grab().save(file, "PNG"));
    };
    *connection = QObject::connect(view, &CCorvaleView::RunEnded, &frame, runNext);
    runNext();
}

}  // namespace corvale
