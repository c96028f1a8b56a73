#include "cli/MapFiles.h"

#include <QGuiApplication>
#include <cstdio>
#include <filesystem>

#include "map/AwardLayers.h"
#include "map/AzimuthalProjection.h"
#include "map/EmbeddedOutlines.h"
#include "map/LatLonProjection.h"
#include "map/MapPicture.h"

namespace corvale {

namespace {

int g_argc = 3;
char g_program[] = "corvale-cli";
char g_platformOption[] = "-platform";
char g_platform[] = "offscreen";
char* g_argv[] = {g_program, g_platformOption, g_platform, nullptr};

// Qt's notes about its surroundings (no runtime folder, fonts it looked for) are no concern of
// a command that writes pictures; its errors are.
void QtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "corvale-cli: %s\n", qPrintable(message));
}

}  // namespace

MapPainting::MapPainting(const CliOptions& options) {
    if (!options.mapDir || QGuiApplication::instance() != nullptr)
        return;
    m_previousHandler = qInstallMessageHandler(QtMessage);
    m_application = std::make_unique<QGuiApplication>(g_argc, g_argv);
}

MapPainting::~MapPainting() {
    if (m_application)
        qInstallMessageHandler(m_previousHandler);
}

std::string WriteAwardMap(const ExportedAward& award, const CliOptions& options,
                          OutputTransaction& files) {
    std::unique_ptr<Projection> projection;
    if (options.home)
        projection = std::make_unique<AzimuthalProjection>(*options.home);
    else
        projection = std::make_unique<LatLonProjection>();
    MapRenderer renderer(std::move(projection));
    AddBaseLayers(renderer, EmbeddedOutlines());
    AddAwardLayers(renderer, award, EmbeddedOutlines());
    const MapView view = renderer.WholeWorld(QSizeF(options.mapWidth, options.mapHeight));
    // Made like `mkdir -p`: a folder of pictures is the user's to name anew.
    std::error_code ignored;
    std::filesystem::create_directories(*options.mapDir, ignored);
    const QByteArray bytes = MapFileBytes(renderer, view, options.mapFormat);
    const std::string path =
        (std::filesystem::path(*options.mapDir) /
         (ExportLabel(award) + "." + std::string(MapFormatWord(options.mapFormat))))
            .string();
    files.Create(path).Write(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return path;
}

}  // namespace corvale
