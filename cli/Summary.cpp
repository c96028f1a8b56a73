#include "cli/Summary.h"

#include <nlohmann/json.hpp>

namespace corvale {

namespace {

std::string Join(const std::vector<std::string>& items, std::string_view separator) {
    std::string joined;
    for (const std::string& item : items) {
        if (!joined.empty())
            joined += separator;
        joined += item;
    }
    return joined;
}

// A label with blanks at either end is shown in quotes, so that " K" reads apart from "K".
std::vector<std::string> Shown(const std::vector<std::string>& labels) {
    std::vector<std::string> shown;
    for (const std::string& label : labels) {
        const bool padded = !label.empty() && (label.front() == ' ' || label.back() == ' ');
        shown.push_back(padded ? "\"" + label + "\"" : label);
    }
    return shown;
}

}  // namespace

std::string SummaryText(const std::vector<AwardSummary>& summaries) {
    std::string text;
    for (const AwardSummary& s : summaries) {
        std::vector<std::string> files{s.lstPath};
        files.insert(files.end(), s.squaresPaths.begin(), s.squaresPaths.end());
        text += std::string(AwardName(s.award)) + ": " + std::to_string(s.counters.workedOnly) +
                " worked only, " + std::to_string(s.counters.confirmed) +
                " worked and confirmed, " + std::to_string(s.counters.total) + " total -> " +
                Join(files, ", ") + "\n";
    }
    return text;
}

std::string SummaryJson(const std::vector<AwardSummary>& summaries) {
    nlohmann::ordered_json awards = nlohmann::ordered_json::array();
    for (const AwardSummary& s : summaries) {
        nlohmann::ordered_json award = {
            {"award", AwardName(s.award)},
            {"file", s.lstPath},
            {"worked_only", s.counters.workedOnly},
            {"confirmed", s.counters.confirmed},
            {"total", s.counters.total},
            {"unplaced", s.unplaced},
        };
        if (!s.squaresPaths.empty())
            award["squares_files"] = s.squaresPaths;
        awards.push_back(std::move(award));
    }
    // Labels come from the log; a byte that is not UTF-8 is replaced rather than failing.
    return nlohmann::ordered_json{{"awards", awards}}.dump(
               -1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) +
           "\n";
}

std::string UnplacedWarnings(const std::vector<AwardSummary>& summaries) {
    std::string text;
    for (const AwardSummary& s : summaries) {
        if (s.unplaced.empty())
            continue;
        text += std::string(AwardName(s.award)) +
                ": no map position for: " + Join(Shown(s.unplaced), ", ") + "\n";
    }
    return text;
}

}  // namespace corvale
