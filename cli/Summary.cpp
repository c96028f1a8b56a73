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

std::vector<const AwardEntity*> Needed(const AwardSummary& summary) {
    std::vector<const AwardEntity*> needed;
    for (const AwardEntity& entity : summary.entities) {
        if (entity.status == EntityStatus::Needed)
            needed.push_back(&entity);
    }
    return needed;
}

// "WAS needed (2): ND North Dakota, VT Vermont"; "WAS needed (0)" when nothing is left.
std::string NeededLine(const AwardSummary& summary) {
    const std::vector<const AwardEntity*> needed = Needed(summary);
    std::string line =
        std::string(AwardName(summary.award)) + " needed (" + std::to_string(needed.size()) + ")";
    std::vector<std::string> items;
    for (const AwardEntity* entity : needed)
        items.push_back(entity->name.empty() ? entity->key
                                             : entity->key + " " + std::string(entity->name));
    if (!items.empty())
        line += ": " + Join(items, ", ");
    return line + "\n";
}

}  // namespace

std::string SummaryText(const std::vector<AwardSummary>& summaries, bool needed) {
    std::string text;
    for (const AwardSummary& s : summaries) {
        std::vector<std::string> files{s.lstPath};
        files.insert(files.end(), s.squaresPaths.begin(), s.squaresPaths.end());
        files.insert(files.end(), s.exportPaths.begin(), s.exportPaths.end());
        if (!s.mapPath.empty())
            files.push_back(s.mapPath);
        text += std::string(AwardName(s.award)) + ": " + std::to_string(s.counters.workedOnly) +
                " worked only, " + std::to_string(s.counters.confirmed) +
                " worked and confirmed, " + std::to_string(s.counters.total) + " total -> " +
                Join(files, ", ") + "\n";
        if (needed && AwardHasUniverse(s.award))
            text += NeededLine(s);
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
        if (!s.exportPaths.empty())
            award["export_files"] = s.exportPaths;
        if (!s.mapPath.empty())
            award["map_file"] = s.mapPath;
        nlohmann::ordered_json needed = nlohmann::ordered_json::array();
        for (const AwardEntity* entity : Needed(s)) {
            nlohmann::ordered_json item = {{"key", entity->key}};
            if (!entity->name.empty())
                item["name"] = entity->name;
            needed.push_back(std::move(item));
        }
        award["needed"] = std::move(needed);
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

std::string ExportWarnings(const std::vector<AwardSummary>& summaries) {
    std::string text;
    for (const AwardSummary& s : summaries) {
        if (s.leftOutOfMaps == 0)
            continue;
        text += std::string(AwardName(s.award)) + ": " + std::to_string(s.leftOutOfMaps) +
                " without a map position, left out of the GeoJSON and KML files\n";
    }
    return text;
}

}  // namespace corvale
