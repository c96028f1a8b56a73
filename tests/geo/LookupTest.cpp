// Each lookup of the reference tables against the answers in data/lookups.tsv.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "TestFiles.h"
#include "awards/FfmaSquares.h"
#include "awards/UsStateTable.h"
#include "geo/DxccAdifCodes.h"
#include "geo/DxccEntityNames.h"
#include "geo/DxccTable.h"
#include "geo/IotaTable.h"
#include "geo/Locator.h"

namespace corvale {
namespace {

using Answer = std::optional<std::string>;

Answer Found(std::optional<std::string_view> value) {
    return value ? Answer(*value) : std::nullopt;
}
Answer Admitted(bool admitted) {
    return admitted ? Answer("yes") : std::nullopt;
}

const std::map<std::string, std::function<Answer(std::string_view)>> kLookups = {
    {"dxcc", [](std::string_view key) { return Found(FindDxccCoordinate(key)); }},
    {"iota", [](std::string_view key) { return Found(FindIotaCoordinate(key)); }},
    {"state", [](std::string_view key) { return Found(FindStateCoordinate(key)); }},
    {"grid", [](std::string_view key) { return GridToPin(key); }},
    {"ffma", [](std::string_view key) { return Admitted(IsFfmaGrid(key)); }},
    {"dxcc-excluded", [](std::string_view key) { return Admitted(IsExcludedDxccPrefix(key)); }},
    {"iota-excluded", [](std::string_view key) { return Admitted(IsExcludedIotaReference(key)); }},
    {"dxcc-name", [](std::string_view key) { return Found(FindDxccEntityName(key)); }},
    {"adif-code",
     [](std::string_view key) {
         const std::string_view found = DxccKeyOfAdifCode(std::stol(std::string(key)));
         return found.empty() ? Answer() : Answer(found);
     }},
};

// The bytes of a key written between double quotes, with \xHH escapes.
std::string Unquote(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (text.substr(i, 2) == "\\x") {
            bytes += static_cast<char>(std::stoi(std::string(text.substr(i + 2, 2)), nullptr, 16));
            i += 3;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

TEST(Lookups, AnswerEachKeyAsTheDataSays) {
    std::istringstream lines(test::ReadFile(CORVALE_SOURCE_DIR "/tests/geo/data/lookups.tsv"));
    std::set<std::string> lookupsChecked;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t keyAt = line.find('\t') + 1, answerAt = line.find('\t', keyAt) + 1;
        const std::string name = line.substr(0, keyAt - 1), answer = line.substr(answerAt);
        ASSERT_TRUE(kLookups.contains(name)) << line;
        const std::string key = Unquote(line.substr(keyAt, answerAt - 1 - keyAt));
        EXPECT_EQ(kLookups.at(name)(key), answer == "-" ? Answer() : Answer(answer)) << line;
        lookupsChecked.insert(name);
    }
    EXPECT_EQ(lookupsChecked.size(), kLookups.size());
}

}  // namespace
}  // namespace corvale
