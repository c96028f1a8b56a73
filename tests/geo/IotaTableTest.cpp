#include "geo/IotaTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TableChecks.h"

namespace corvale {
namespace {

using testing::BoundsOf;
using testing::PinBounds;

const std::vector<std::string> kMissingReferences = {"AF034", "AF055", "AF071", "AS034", "AS035",
                                                     "AS052", "EU098", "EU154", "OC061"};

// Every continent's references from 001 to its highest number, in table order.
std::vector<std::string> AllNumberedReferences() {
    const std::pair<const char*, int> continents[] = {
        {"AF", 119}, {"AN", 21}, {"AS", 203}, {"EU", 191}, {"NA", 248}, {"OC", 296}, {"SA", 100}};
    std::vector<std::string> references;
    for (const auto& [continent, highest] : continents) {
        for (int number = 1; number <= highest; ++number) {
            const std::string digits = std::to_string(number);
            references.push_back(continent + std::string(3 - digits.size(), '0') + digits);
        }
    }
    return references;
}

TEST(IotaIslandTable, HoldsEveryNumberedReferenceButTheExcludedOnes) {
    std::vector<std::string> expected = AllNumberedReferences();
    std::erase_if(expected, [](const std::string& reference) {
        return std::ranges::find(kMissingReferences, reference) != kMissingReferences.end();
    });
    std::vector<std::string> keys;
    for (const KeyedCoordinate& entry : IotaIslandTable()) {
        keys.emplace_back(entry.key);
    }
    EXPECT_EQ(keys.size(), 1169u);
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(BoundsOf(IotaIslandTable()), (PinBounds{-32397, 32365, -16200, 14580}));
}

TEST(IotaIslandTable, FindsWholeReferencesByteForByte) {
    const std::pair<std::string_view, std::optional<std::string_view>> cases[] = {
        {"AF001", "|10191|-1872"},  {"AF119", "|10129|-1288"},   {"AN001", "|-12313|-12093"},
        {"AN021", "|-7560|-9639"},  {"AS001", "|16695|2250"},    {"AS203", "|29430|11223"},
        {"EU001", "|4860|6480"},    {"EU191", "|5358|8130"},     {"NA001", "|-13860|4343"},
        {"NA248", "|-20268|13579"}, {"OC001", "|24300|-4500"},   {"OC296", "|23598|542"},
        {"SA001", "|-19686|-4881"}, {"SA100", "|-12631|-3787"},  {"OC060", "|31875|-2250"},
        {"OC062", "|-24984|-2667"}, {"AN020", "|-32397|-12126"}, {"AS092", "|32365|11630"},
        {"AN016", "|-18|-16200"},   {"EU019", "|9900|14580"},    {"NA105", "|-11354|3247"},
        {"NA199", "|-11354|3247"},  {"NA222", "|-28586|10053"},  {"NA238", "|-28586|10053"},
        {"AF-001", std::nullopt},   {"af001", std::nullopt},     {"AF1", std::nullopt},
        {"AF001 ", std::nullopt},   {" AF001", std::nullopt},    {"AN022", std::nullopt},
        {"AF034", std::nullopt},    {"OC061", std::nullopt},     {"", std::nullopt},
        {"AF0011", std::nullopt},   {"SA101", std::nullopt},     {"XX001", std::nullopt},
    };
    for (const auto& [reference, expected] : cases) {
        EXPECT_EQ(FindIotaCoordinate(reference), expected) << "reference '" << reference << "'";
    }
}

TEST(IotaExclusionList, NamesExactlyTheReferencesTheTableLacks) {
    const auto excluded = IotaExclusionList();
    EXPECT_EQ(std::vector<std::string>(excluded.begin(), excluded.end()), kMissingReferences);
    for (const char* reference : excluded) {
        EXPECT_TRUE(IsExcludedIotaReference(reference)) << reference;
    }
    for (const std::string_view kept :
         {"AF001", "AF033", "AF035", "af034", "AF034 ", "AF-034", "AF34", "", "OC06"}) {
        EXPECT_FALSE(IsExcludedIotaReference(kept)) << "reference '" << kept << "'";
    }
}

}  // namespace
}  // namespace corvale
