#include "geo/KeyedLookup.h"

#include <gtest/gtest.h>

namespace corvale {
namespace {

// The tables are checked with this at compile time, so that a lookup may bisect them.
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

}  // namespace
}  // namespace corvale
