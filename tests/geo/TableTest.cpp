// The built-in reference tables: what each holds, that its positions are written as pin
// coordinates within the world, and the answer of each lookup for the keys of cases/lookups.tsv.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "CaseFile.h"
#include "awards/FfmaSquares.h"
#include "awards/UsStateTable.h"
#include "geo/DxccAdifCodes.h"
#include "geo/DxccEntityNames.h"
#include "geo/DxccTable.h"
#include "geo/IotaTable.h"
#include "geo/KeyedLookup.h"
#include "geo/Locator.h"

namespace corvale {
namespace {

using namespace std::string_view_literals;

// The smallest and largest longitude and latitude of a table; none when a value is not written
// exactly as FormatPinCoordinate writes it (no plus sign, no leading zeros, no "-0").
std::optional<std::array<int, 4>> BoundsOf(std::span<const KeyedCoordinate> table) {
    std::array<int, 4> bounds{32400, -32400, 16200, -16200};
    for (const KeyedCoordinate& entry : table) {
        const auto point = ParsePinCoordinate(entry.coordinate);
        if (!point || FormatPinCoordinate(point->longitude, point->latitude) != entry.coordinate)
            return std::nullopt;
        bounds = {std::min(bounds[0], point->longitude), std::max(bounds[1], point->longitude),
                  std::min(bounds[2], point->latitude), std::max(bounds[3], point->latitude)};
    }
    return bounds;
}

TEST(DxccEntityTable, HoldsItsPrefixesByLengthEachNamedAndWithOneAdifCode) {
    std::array<int, 5> countByLength{};
    for (const KeyedCoordinate& entry : DxccEntityTable()) {
        const std::string_view key = entry.key;
        ASSERT_TRUE(key.size() >= 1 && key.size() <= 4) << key;
        EXPECT_EQ(key.find_first_not_of("/0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"), key.npos) << key;
        ++countByLength[key.size()];
    }
    EXPECT_EQ(countByLength, (std::array<int, 5>{0, 5, 222, 101, 68}));
    EXPECT_EQ(BoundsOf(DxccEntityTable()), (std::array<int, 4>{-32205, 32360, -16199, 14474}));

    const auto names = DxccEntityNames();
    ASSERT_EQ(names.size(), DxccEntityTable().size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_STREQ(names[i].key, DxccEntityTable()[i].key);
        EXPECT_NE(std::string_view(names[i].name), "") << names[i].key;
    }
    std::multiset<std::string> keysOfCodes;
    for (long code = 1; code <= 1000; ++code) {
        if (const std::string_view key = DxccKeyOfAdifCode(code); !key.empty())
            keysOfCodes.emplace(key);
    }
    EXPECT_EQ(keysOfCodes.size(), DxccEntityTable().size());
    for (const auto& entry : DxccEntityTable())
        EXPECT_EQ(keysOfCodes.count(entry.key), 1u) << entry.key;

    // Excluded prefixes still have their positions.
    EXPECT_EQ(DxccExclusionList().size(), 61u);
    for (std::string_view prefix : DxccExclusionList())
        EXPECT_TRUE(FindDxccCoordinate(prefix) && IsExcludedDxccPrefix(prefix)) << prefix;
    // Only the whole prefix: not one that starts or ends like an excluded one.
    for (std::string_view prefix : {"D"sv, "DM1"sv, "\0DM"sv, "DM\0"sv, "1MM"sv, "VQ9AVQ9"sv})
        EXPECT_FALSE(IsExcludedDxccPrefix(prefix)) << prefix;
}

TEST(IotaIslandTable, HoldsEveryNumberedReferenceButTheExcludedOnes) {
    const std::vector<std::string> excluded = {"AF034", "AF055", "AF071", "AS034", "AS035",
                                               "AS052", "EU098", "EU154", "OC061"};
    // The highest number of each continent.
    const std::map<std::string, int> highest = {{"AF", 119}, {"AN", 21},  {"AS", 203}, {"EU", 191},
                                                {"NA", 248}, {"OC", 296}, {"SA", 100}};
    std::vector<std::string> expected;
    for (const auto& [continent, last] : highest) {
        for (int number = 1; number <= last; ++number) {
            const std::string digits = std::to_string(number);
            expected.push_back(continent + std::string(3 - digits.size(), '0') + digits);
        }
    }
    std::erase_if(expected, [&](const std::string& reference) {
        return std::ranges::find(excluded, reference) != excluded.end();
    });
    std::vector<std::string> keys;
    for (const KeyedCoordinate& entry : IotaIslandTable())
        keys.emplace_back(entry.key);
    EXPECT_EQ(keys.size(), 1169u);
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(BoundsOf(IotaIslandTable()), (std::array<int, 4>{-32397, 32365, -16200, 14580}));
    EXPECT_EQ(std::vector<std::string>(IotaExclusionList().begin(), IotaExclusionList().end()),
              excluded);
    for (std::string_view reference : IotaExclusionList())
        EXPECT_TRUE(IsExcludedIotaReference(reference)) << reference;
}

TEST(UsStateTable, HoldsFiftyTwoLetterCodesWithDistinctPositions) {
    std::set<std::string> positions;
    for (const KeyedCoordinate& entry : UsStateTable()) {
        const std::string_view key = entry.key;
        EXPECT_TRUE(key.size() == 2 &&
                    key.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == key.npos)
            << key;
        positions.insert(entry.coordinate);
    }
    EXPECT_EQ(UsStateTable().size(), 50u);
    EXPECT_EQ(positions.size(), 50u);
    EXPECT_EQ(BoundsOf(UsStateTable()), (std::array<int, 4>{-28412, -12576, 3839, 11534}));
}

// Every square of the world, in either case: placed inside itself (one unit of the pin is
// 1/180 degree, a square spans 2 degrees of longitude and 1 of latitude from its south-west
// corner), and admitted by FFMA in the expected number per field.
TEST(EverySquare, IsPlacedInsideItselfAndAdmittedByFfmaInItsField) {
    std::map<std::string, int> admittedPerField;
    for (int i = 0; i < 18 * 18 * 100; ++i) {
        const auto lon = static_cast<char>('A' + i / 1800),
                   lat = static_cast<char>('A' + i / 100 % 18);
        const auto squareLon = static_cast<char>('0' + i / 10 % 10),
                   squareLat = static_cast<char>('0' + i % 10);
        const std::string square = {lon, lat, squareLon, squareLat};
        const std::string lower = {static_cast<char>(lon + 32), static_cast<char>(lat + 32),
                                   squareLon, squareLat};
        admittedPerField[square.substr(0, 2)] += IsFfmaGrid(square) ? 1 : 0;
        const auto pin = GridToPin(square);
        ASSERT_TRUE(pin) << square;
        EXPECT_EQ(GridToPin(lower), pin) << lower;
        const auto point = ParsePinCoordinate(*pin);
        ASSERT_TRUE(point) << *pin;
        const int west = ((lon - 'A') * 20 - 180 + (squareLon - '0') * 2) * 180;
        const int south = ((lat - 'A') * 10 - 90 + (squareLat - '0')) * 180;
        EXPECT_TRUE(point->longitude > west && point->longitude < west + 360) << square;
        EXPECT_TRUE(point->latitude > south && point->latitude < south + 180) << square;
    }
    std::erase_if(admittedPerField, [](const auto& field) { return field.second == 0; });
    const std::map<std::string, int> expected = {
        {"CM", 12}, {"CN", 27},  {"DL", 5},  {"DM", 90}, {"DN", 90},
        {"EL", 27}, {"EM", 100}, {"EN", 80}, {"FM", 20}, {"FN", 37},
    };
    EXPECT_EQ(admittedPerField, expected);
    EXPECT_EQ(FfmaSquareList().size(), 488u);
}

// The tables are checked with this at compile time, so that a lookup may bisect them.
TEST(KeyedLookup, AscendingMeansByteOrderWithoutDuplicates) {
    const KeyedCoordinate ascending[] = {{"3Y/B", ""}, {"3YA", ""}, {"A", ""}, {"AB", ""}};
    EXPECT_TRUE(HasAscendingUniqueKeys(ascending));
    const std::pair<const char*, const char*> unordered[] = {
        {"AB", "A"}, {"A1", "1A"}, {"a", "B"}, {"K", "K"}};
    for (const auto& [first, second] : unordered) {
        const KeyedCoordinate table[] = {{first, ""}, {second, ""}};
        EXPECT_FALSE(HasAscendingUniqueKeys(table)) << first << ", " << second;
    }
}

// Each lookup against the answers in cases/lookups.tsv.
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
    {"grid-diagnostics",
     [](std::string_view key) {
         std::string diagnostics = "earlier\n";
         GridToPin(key, &diagnostics);
         return Answer(diagnostics);
     }},
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

TEST(Lookups, AnswerEachKeyAsTheDataSays) {
    for (const auto& [lookup, answerOf] : kLookups) {
        for (const test::Case& c : test::ReadCases("geo/cases/lookups.tsv", lookup)) {
            EXPECT_EQ(answerOf(c.name), c[0] == "-" ? Answer() : Answer(c[0]))
                << lookup << " \"" << c.name << "\"";
        }
    }
}

}  // namespace
}  // namespace corvale
