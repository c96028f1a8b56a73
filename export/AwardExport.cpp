#include "export/AwardExport.h"

#include <algorithm>

namespace corvale {

std::string_view ExportFormatWord(ExportFormat format) {
    switch (format) {
        case ExportFormat::GeoJson:
            return "geojson";
        case ExportFormat::Kml:
            return "kml";
        case ExportFormat::Csv:
            break;
    }
    return "csv";
}

std::string ExportLabel(const ExportedAward& award) {
    std::string label(AwardName(award.award));
    if (award.bandMegahertz != 0)
        label += "-" + std::to_string(award.bandMegahertz);
    return label;
}

std::string ExportFileName(const ExportedAward& award, ExportFormat format) {
    return ExportLabel(award) + "." + std::string(ExportFormatWord(format));
}

std::size_t CountWithoutPosition(const ExportedAward& award) {
    return static_cast<std::size_t>(std::ranges::count_if(
        award.entities, [](const AwardEntity& entity) { return !entity.position; }));
}

std::string ExportText(const ExportedAward& award, ExportFormat format) {
    switch (format) {
        case ExportFormat::GeoJson:
            return GeoJsonText(award);
        case ExportFormat::Kml:
            return KmlText(award);
        case ExportFormat::Csv:
            break;
    }
    return CsvText(award);
}

}  // namespace corvale
