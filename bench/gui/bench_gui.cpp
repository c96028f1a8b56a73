// How the desktop form answers during a run on the large log: the longest stall of the event
// loop (a 10 ms timer that should tick on time), how often the progress shown changes (the
// records read, then the counters) and how often the window repaints. Prints one line per
// award; it measures, it does not judge.
//
//   QT_QPA_PLATFORM=offscreen bench_gui [LOG.mdb]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "awards/CCorvaleView.h"
#include "shell/CCorvaleApp.h"
#include "shell/CCorvaleDoc.h"
#include "shell/WinePrefixSettings.h"

namespace {

// Counts the paints of the form.
class PaintCounter : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

struct Measure {
    qint64 runMs = 0;
    qint64 longestStallMs = 0;
    int progressChanges = 0;
    qint64 longestProgressGapMs = 0;  // from the press to the last change of the progress shown
    int paints = 0;
};

Measure MeasureRun(corvale::CCorvaleView& view, void (corvale::CCorvaleView::*handler)(),
                   const QLabel* total, const QLabel* report) {
    Measure measure;
    PaintCounter paints;
    view.installEventFilter(&paints);
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    QTimer ticker;
    const auto progress = [total, report] { return total->text() + report->text(); };
    QString lastProgress = progress();
    QElapsedTimer sinceProgress;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        measure.longestStallMs = std::max(measure.longestStallMs, sinceTick.restart());
        if (progress() != lastProgress) {
            lastProgress = progress();
            ++measure.progressChanges;
            measure.longestProgressGapMs =
                std::max(measure.longestProgressGapMs, sinceProgress.restart());
        }
        view.update();
    });
    QEventLoop loop;
    QObject::connect(&view, &corvale::CCorvaleView::RunEnded, &loop, &QEventLoop::quit);
    clock.start();
    sinceTick.start();
    sinceProgress.start();
    ticker.start(10);
    (view.*handler)();
    loop.exec();
    ticker.stop();
    measure.runMs = clock.elapsed();
    measure.paints = paints.paints;
    view.removeEventFilter(&paints);
    return measure;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString log =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(CORVALE_LARGE_LOG);
    QTemporaryDir pins;
    const corvale::WinePrefixSettings settings(QDir::tempPath().toStdString() + "/no-prefix");
    corvale::CCorvaleApp app(settings);
    app.m_strSourceMdb = log;
    app.m_strLstDir = pins.path() + "/";
    app.m_strWasLstName = "WASpins.lst";
    app.m_strDxccLstName = "DXCCpins.lst";
    app.m_strVuccLstName = "VUCCpins.lst";
    corvale::CCorvaleDoc doc(log.toStdString());
    corvale::CCorvaleView view(doc, settings);
    view.OnInitialUpdate(app);
    view.show();

    struct Run {
        const char* name;
        void (corvale::CCorvaleView::*handler)();
        const char* totalLabel;
    };
    for (const Run& run : {Run{"WAS", &corvale::CCorvaleView::OnWasMixed, "labelWasTotal"},
                           Run{"DXCC", &corvale::CCorvaleView::OnDxccMixed, "labelDxccTotal"},
                           Run{"VUCC", &corvale::CCorvaleView::OnVucc, "labelVuccTotal"}}) {
        const auto* report = view.findChild<QLabel*>("labelRunReport");
        const Measure m =
            MeasureRun(view, run.handler, view.findChild<QLabel*>(run.totalLabel), report);
        const double seconds = static_cast<double>(m.runMs) / 1000.0;
        std::printf(
            "%-5s run %5lld ms (with the %d ms pause)  longest event-loop stall %3lld ms  "
            "progress shown %3d times, longest gap %3lld ms  paints %4d (%.0f/s)\n",
            run.name, static_cast<long long>(m.runMs), corvale::CCorvaleView::kUnlockDelayMs,
            static_cast<long long>(m.longestStallMs), m.progressChanges,
            static_cast<long long>(m.longestProgressGapMs), m.paints, m.paints / seconds);
        if (!report->text().isEmpty())
            std::printf("      %s\n", qPrintable(report->text()));
    }
    return 0;
}
