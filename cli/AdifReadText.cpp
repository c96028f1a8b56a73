#include "cli/AdifReadText.h"

#include <vector>

#include "logdb/AdifReadSummary.h"

namespace corvale {

namespace {

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
    std::string text;
    for (const std::string& sentence : AdifReadSummary(path, report))
        text += "corvale-cli: " + sentence + "\n";
    if (verbose) {
        text += RecordList("without a date", report.withoutDate);
        text += RecordList("without an entity", report.withoutEntity);
    }
    return text;
}

}  // namespace corvale
