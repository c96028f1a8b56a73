#pragma once

#include <string>
#include <vector>

#include "awards/AwardRun.h"

namespace corvale {

struct AwardSummary {
    Award award;
    std::string lstPath;
    std::vector<std::string> squaresPaths;  // .wkd and .cfm when written
    AwardCounters counters;
    std::vector<std::string> unplaced;
};

// "WAS: 12 worked only, 38 worked and confirmed, 50 total -> /path/WASpins.lst", a line each.
std::string SummaryText(const std::vector<AwardSummary>& summaries);
// {"awards":[{"award":"WAS","file":"...","worked_only":12,...,"unplaced":["DC"]}, ...]}
std::string SummaryJson(const std::vector<AwardSummary>& summaries);
// "WAS: no map position for: DC, XX", a line for each award that has such labels.
std::string UnplacedWarnings(const std::vector<AwardSummary>& summaries);

}  // namespace corvale
