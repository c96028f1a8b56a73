#pragma once

#include <string>
#include <vector>

#include "awards/AwardRun.h"

namespace corvale {

struct AwardSummary {
    Award award;
    std::string lstPath;
    std::vector<std::string> squaresPaths;  // .wkd and .cfm when written
    std::vector<std::string> exportPaths;   // GeoJSON, KML, CSV when written
    AwardCounters counters;
    std::vector<std::string> unplaced;
    std::vector<AwardEntity> entities;  // the run's entities, with their statuses
    std::size_t leftOutOfMaps = 0;      // entities without a position, left out of GeoJSON/KML
    std::string mapPath;                // the award's map when drawn (--map-dir)
};

// "WAS: 12 worked only, 38 worked and confirmed, 50 total -> /path/WASpins.lst", a line each;
// with `needed`, each followed by "WAS needed (2): ND North Dakota, VT Vermont" (not for VUCC,
// which has no fixed set of entities).
std::string SummaryText(const std::vector<AwardSummary>& summaries, bool needed);
// {"awards":[{"award":"WAS","file":"...","worked_only":12,...,"unplaced":["DC"],
// "needed":[{"key":"ND","name":"North Dakota"}]}, ...]}
std::string SummaryJson(const std::vector<AwardSummary>& summaries);
// "WAS: no map position for: DC, XX", a line for each award that has such labels.
std::string UnplacedWarnings(const std::vector<AwardSummary>& summaries);
// "WAS: 2 without a map position, left out of the GeoJSON and KML files", where there are any.
std::string ExportWarnings(const std::vector<AwardSummary>& summaries);

}  // namespace corvale
