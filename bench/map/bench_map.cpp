// The map's speed and memory: loading the built-in outlines (time, heap kept, peak resident
// growth) and a full repaint at 1920x1080 with every layer, in both projections, whole world
// and zoomed in (where the square grid shows), with the largest awards: IOTA's 1,169 pins and
// FFMA's 488 squares, their statuses taken in turn. Prints medians and worst cases; it
// measures, it does not judge.
//
//   QT_QPA_PLATFORM=offscreen bench_map [RUNS] [FOLDER]
//   FOLDER, when given, receives the last frame of each scene and award (scene-1-IOTA.png
//   ...), to look at.
#include <malloc.h>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "awards/AwardUniverse.h"
#include "bench/ResidentPeak.h"
#include "export/StatusPalette.h"
#include "geo/IotaTable.h"
#include "geo/PinCoordinate.h"
#include "map/AwardLayers.h"
#include "map/AzimuthalProjection.h"
#include "map/EmbeddedOutlines.h"
#include "map/LatLonProjection.h"
#include "map/MapRenderer.h"

namespace {

using namespace corvale;

// An award's entities as a run leaves them, statuses taken in turn: confirmed, worked, needed.
std::vector<AwardEntity> EntitiesOf(std::span<const UniverseEntity> universe,
                                    std::optional<std::string_view> (*find)(std::string_view)) {
    std::vector<AwardEntity> entities;
    for (const UniverseEntity& member : universe) {
        AwardEntity entity{std::string(member.key), member.name, kAllStatuses[entities.size() % 3],
                           std::nullopt, 1};
        if (find != nullptr) {
            if (const auto coordinate = find(member.key))
                entity.position = ParsePinCoordinate(*coordinate);
        }
        entities.push_back(std::move(entity));
    }
    return entities;
}

// CPU time of the whole process (Qt may paint on helper threads), in ms: on a shared machine
// it shows the work, where wall time also shows the waiting.
double ProcessCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void MeasureLoad(int runs) {
    const long peakBefore = ResidentPeakKb();
    const std::size_t heapBefore = mallinfo2().uordblks;
    QElapsedTimer clock;
    clock.start();
    const OutlineData& outlines = EmbeddedOutlines();  // the first call, as at start-up
    const double firstMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const double heapMb = static_cast<double>(mallinfo2().uordblks - heapBefore) / 1048576.0;
    const double peakMb = static_cast<double>(ResidentPeakKb() - peakBefore) / 1024.0;

    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        clock.restart();
        QFile file(QStringLiteral(":/corvale/map-outlines.txt"));
        file.open(QIODevice::ReadOnly);
        const QByteArray text = file.readAll();
        const OutlineData again = ParseOutlineData(
            std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::size_t points = 0;
    std::size_t rings = 0;
    for (const auto* regions : {&outlines.countries, &outlines.states}) {
        for (const OutlineRegion& region : *regions) {
            rings += region.rings.size();
            for (const OutlineRing& ring : region.rings)
                points += ring.size();
        }
    }
    std::printf("load outlines (%zu countries, %zu states, %zu rings, %zu points):\n",
                outlines.countries.size(), outlines.states.size(), rings, points);
    std::printf("  first load %.1f ms, median of %d reloads %.1f ms   (target <= 100 ms)\n",
                firstMs, runs, Median(times));
    std::printf("  heap kept %.1f MB, peak resident growth %.1f MB   (target <= 16 MB)\n", heapMb,
                peakMb);
}

struct Scene {
    const char* name;
    bool azimuthal;
    double zoom;
    QPointF zoomAt;  // pixel
};

struct Timing {
    double medianMs;
    double worstMs;
    double medianCpuMs;
};

// Repaints `runs` times after one unmeasured frame (which also projects the squares of the
// grid, once).
Timing MeasureRepaint(const MapRenderer& renderer, const MapView& view, QImage& image, int runs) {
    std::vector<double> times;
    std::vector<double> cpuTimes;
    QElapsedTimer clock;
    for (int run = 0; run < runs + 1; ++run) {
        clock.start();
        const double cpuStart = ProcessCpuMs();
        QPainter painter(&image);
        renderer.Render(painter, view);
        painter.end();
        if (run > 0) {
            times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
            cpuTimes.push_back(ProcessCpuMs() - cpuStart);
        }
    }
    return {Median(times), *std::max_element(times.begin(), times.end()), Median(cpuTimes)};
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(5, std::atoi(argv[1])) : 30;
    const QString pictures = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    MeasureLoad(runs);

    const QSize size(1920, 1080);
    const GeoPoint home{-71.0, 42.5};  // FN42
    const std::vector<AwardEntity> iota = EntitiesOf(IotaUniverse(), FindIotaCoordinate);
    const std::vector<AwardEntity> ffma = EntitiesOf(FfmaUniverse(), nullptr);
    const ExportedAward awards[] = {{Award::Iota, 0, iota}, {Award::Ffma, 0, ffma}};
    std::printf(
        "\nrepaint at %dx%d in ms (target <= 16 ms with every layer); the base map alone,\n"
        "then with IOTA's %zu pins, then with FFMA's %zu squares:\n",
        size.width(), size.height(), iota.size(), ffma.size());
    std::printf("  %-34s %6s %6s | %6s %6s %6s | %6s %6s %6s | %10s\n", "scene", "base", "CPU",
                "IOTA", "worst", "CPU", "FFMA", "worst", "CPU", "projecting");
    const Scene scenes[] = {
        {"latitude/longitude, whole world", false, 1, {}},
        {"latitude/longitude, x4 on the US", false, 4, {530, 290}},
        {"latitude/longitude, x12 on FN42", false, 12, {540, 285}},
        {"azimuthal from FN42, whole world", true, 1, {}},
        {"azimuthal from FN42, x4 on home", true, 4, {960, 540}},
    };
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    int sceneNumber = 0;
    for (const Scene& scene : scenes) {
        ++sceneNumber;
        QElapsedTimer clock;
        clock.start();
        std::unique_ptr<Projection> projection;
        if (scene.azimuthal)
            projection = std::make_unique<AzimuthalProjection>(home);
        else
            projection = std::make_unique<LatLonProjection>();
        MapRenderer renderer(std::move(projection));
        AddBaseLayers(renderer, EmbeddedOutlines());
        const double projectingMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        MapView view = renderer.WholeWorld(size);
        view.ZoomAround(scene.zoomAt, scene.zoom);
        const Timing base = MeasureRepaint(renderer, view, image, runs);
        Timing withAward[2];
        for (int index = 0; index < 2; ++index) {
            AwardLayers layers = AddAwardLayers(renderer, awards[index], EmbeddedOutlines());
            withAward[index] = MeasureRepaint(renderer, view, image, runs);
            if (!pictures.isEmpty()) {
                image.save(QStringLiteral("%1/scene-%2-%3.png")
                               .arg(pictures)
                               .arg(sceneNumber)
                               .arg(QString::fromUtf8(AwardName(awards[index].award))));
            }
            layers.RemoveFrom(renderer);
        }
        std::printf("  %-34s %6.1f %6.1f | %6.1f %6.1f %6.1f | %6.1f %6.1f %6.1f | %10.1f\n",
                    scene.name, base.medianMs, base.medianCpuMs, withAward[0].medianMs,
                    withAward[0].worstMs, withAward[0].medianCpuMs, withAward[1].medianMs,
                    withAward[1].worstMs, withAward[1].medianCpuMs, projectingMs);
    }
    return 0;
}
