#include "awards/UsStateTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "TableChecks.h"

namespace corvale {
namespace {

using testing::BoundsOf;
using testing::PinBounds;

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
    EXPECT_EQ(BoundsOf(UsStateTable()), (PinBounds{-28412, -12576, 3839, 11534}));
}

TEST(UsStateTable, FindsWholeCodesByteForByte) {
    const std::pair<std::string_view, std::optional<std::string_view>> cases[] = {
        {"AK", "|-27610|11534"}, {"WY", "|-19569|7672"}, {"HI", "|-28412|3839"},
        {"CT", "|-13147|7485"},  {"MA", "|-13016|7612"}, {"MD", "|-13899|7093"},
        {"ME", "|-12576|8120"},  {"CA", "|-21601|6480"}, {"NY", "|-13732|7705"},
        {"DC", std::nullopt},    {"PR", std::nullopt},   {"GU", std::nullopt},
        {"ak", std::nullopt},    {"Ak", std::nullopt},   {" AK", std::nullopt},
        {"AK ", std::nullopt},   {"AKX", std::nullopt},  {"A", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [state, expected] : cases) {
        EXPECT_EQ(FindStateCoordinate(state), expected) << "state '" << state << "'";
    }
}

}  // namespace
}  // namespace corvale
