#include "cli/AdifReadText.h"

#include <vector>

namespace corvale {

namespace {

std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string RecordList(const char* what, const std::vector<std::size_t>& records) {
    if (records.empty())
        return {};
    std::string line = std::string("  records ") + what + ":";
    for (std::size_t number : records)
        line += " " + std::to_string(number);
    return line + "\n";
}

}  // namespace

std::string AdifReadText(const std::string& path, const AdifReadReport& report, bool verbose) {
    std::string text =
        "corvale-cli: ADIF log \"" + path + "\": " + Counted(report.records, "record", "records") +
        " read, " + Counted(report.rows, "row", "rows") + " made, " +
        Counted(report.entitiesFromCalls, "entity", "entities") + " from calls, " +
        Counted(report.withoutDate.size(), "record", "records") + " without a date, " +
        std::to_string(report.withoutEntity.size()) + " without an entity.\n";
    if (!report.countryFileProblem.empty())
        text += "corvale-cli: " + report.countryFileProblem + ".\n";
    if (verbose) {
        text += RecordList("without a date", report.withoutDate);
        text += RecordList("without an entity", report.withoutEntity);
    }
    return text;
}

}  // namespace corvale
