#include "geo/KeyedLookup.h"

#include <gtest/gtest.h>

namespace corvale {
namespace {

TEST(KeyedLookup, FindsOnlyTheWholeKeyInAnAscendingTable) {
    const KeyedCoordinate table[] = {
        {"3Y/B", "|612|-9796"}, {"3Y/P", "|-16308|-12394"}, {"K", "|-17555|7020"},
        {"KC4", "|0|-16199"},   {"VK9G", "|25751|-1159"},
    };
    ASSERT_TRUE(HasAscendingUniqueKeys(table));
    const std::pair<std::string_view, std::optional<std::string_view>> cases[] = {
        {"3Y/B", "|612|-9796"},
        {"3Y/P", "|-16308|-12394"},
        {"K", "|-17555|7020"},
        {"VK9G", "|25751|-1159"},
        {"3Y", std::nullopt},
        {"KC", std::nullopt},
        {"VK9", std::nullopt},
        {"VK9GX", std::nullopt},
        {"", std::nullopt},
        {"k", std::nullopt},
        {"K ", std::nullopt},
        {" K", std::nullopt},
        {std::string_view("K\0", 2), std::nullopt},
        {"ZZ", std::nullopt},
    };
    for (const auto& [key, expected] : cases) {
        EXPECT_EQ(FindKeyedCoordinate(table, key), expected) << "key '" << key << "'";
    }
    EXPECT_FALSE(FindKeyedCoordinate({}, "K"));
}

TEST(KeyedLookup, AscendingMeansByteOrderWithoutDuplicates) {
    const KeyedCoordinate ascending[] = {{"3Y/B", ""}, {"3YA", ""}, {"A", ""}, {"AB", ""}};
    const KeyedCoordinate longerFirst[] = {{"AB", ""}, {"A", ""}};
    const KeyedCoordinate letterBeforeDigit[] = {{"A1", ""}, {"1A", ""}};
    const KeyedCoordinate lowerCaseFirst[] = {{"a", ""}, {"B", ""}};
    const KeyedCoordinate duplicate[] = {{"K", ""}, {"K", ""}};
    EXPECT_TRUE(HasAscendingUniqueKeys(ascending));
    EXPECT_FALSE(HasAscendingUniqueKeys(longerFirst));
    EXPECT_FALSE(HasAscendingUniqueKeys(letterBeforeDigit));
    EXPECT_FALSE(HasAscendingUniqueKeys(lowerCaseFirst));
    EXPECT_FALSE(HasAscendingUniqueKeys(duplicate));
}

TEST(KeyedLookup, ContainsOnlyWholeKeys) {
    const char* const keys[] = {"AF034", "VK9G", "Y"};
    EXPECT_TRUE(ContainsKey(keys, "AF034"));
    EXPECT_TRUE(ContainsKey(keys, "Y"));
    for (const std::string_view other : {"", "AF03", "AF034 ", "af034", "VK9", "YY", " Y"}) {
        EXPECT_FALSE(ContainsKey(keys, other)) << "key '" << other << "'";
    }
}

}  // namespace
}  // namespace corvale
