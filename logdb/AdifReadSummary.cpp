#include "logdb/AdifReadSummary.h"

namespace corvale {

namespace {

std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::vector<std::string> AdifReadSummary(const std::string& path, const AdifReadReport& report) {
    std::vector<std::string> sentences = {
        "ADIF log \"" + path + "\": " + Counted(report.records, "record", "records") + " read, " +
        Counted(report.rows, "row", "rows") + " made, " +
        Counted(report.entitiesFromCalls, "entity", "entities") + " from calls, " +
        Counted(report.withoutDate.size(), "record", "records") + " without a date, " +
        std::to_string(report.withoutEntity.size()) + " without an entity."};
    if (!report.countryFileProblem.empty())
        sentences.push_back(report.countryFileProblem + ".");
    return sentences;
}

}  // namespace corvale
