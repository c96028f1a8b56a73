#pragma once

#include <optional>
#include <string>
#include <vector>

#include "awards/AwardRun.h"
#include "export/AwardExport.h"
#include "logdb/LogReadOptions.h"
#include "map/GeoPoint.h"
#include "map/MapFormat.h"

namespace corvale {

struct CliOptions {
    std::vector<Award> awards;             // in the order asked for, each once
    std::optional<std::string> sourceMdb;  // --log or --source-mdb: a log of either kind
    std::optional<std::string> lstDir;
    std::optional<std::string> squaresDir;
    std::optional<std::string> winePrefix;
    bool squares = false;
    int band = 50;
    bool json = false;
    bool verbose = false;
    bool needed = false;                // print what each award still needs
    std::vector<ExportFormat> exports;  // in the order asked for, each once
    std::optional<std::string> exportDir;
    ConfirmationSources confirmations;  // of an ADIF log
    std::optional<std::string> countryFile;
    std::optional<std::string> mapDir;  // write a map of each award there
    MapFormat mapFormat = MapFormat::Png;
    int mapWidth = 1600;
    int mapHeight = 800;
    std::optional<GeoPoint> home;  // the azimuthal map's centre; none: latitude/longitude
};

// What parsing the command line came to: options to run with, or an exit with a text.
struct CliParse {
    std::optional<CliOptions> options;
    int exitCode = 0;     // when there are no options: 0 after --help/--version, 2 on misuse
    std::string message;  // help or version text (stdout), or the usage error (stderr)
};

CliParse ParseCommandLine(int argc, const char* const* argv);

}  // namespace corvale
