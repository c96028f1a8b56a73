#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "awards/AwardRun.h"

namespace corvale {

enum class ExportFormat { GeoJson, Kml, Csv };

// "geojson", "kml", "csv": the word on the command line and the file's extension.
std::string_view ExportFormatWord(ExportFormat format);

// One award run as the exported files show it.
struct ExportedAward {
    Award award;
    int bandMegahertz = 0;  // VUCC: the band; 0 for the other awards
    std::span<const AwardEntity> entities;
};

// "WAS", or "VUCC-144" for a VUCC run: the files' name and the value of their `award` field.
std::string ExportLabel(const ExportedAward& award);
// "WAS.geojson", "VUCC-144.kml".
std::string ExportFileName(const ExportedAward& award, ExportFormat format);

// The entities that have no map position: listed in CSV with empty coordinates, left out of
// GeoJSON and KML.
std::size_t CountWithoutPosition(const ExportedAward& award);

// The whole file, UTF-8.
std::string ExportText(const ExportedAward& award, ExportFormat format);

std::string GeoJsonText(const ExportedAward& award);  // RFC 7946 FeatureCollection
std::string KmlText(const ExportedAward& award);      // KML 2.2
std::string CsvText(const ExportedAward& award);      // RFC 4180

}  // namespace corvale
