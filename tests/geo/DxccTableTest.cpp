#include "geo/DxccTable.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "TableChecks.h"
#include "geo/DxccEntityNames.h"

namespace corvale {
namespace {

using testing::BoundsOf;
using testing::PinBounds;

TEST(DxccEntityTable, HoldsItsPrefixesByLengthWithinTheirBounds) {
    std::array<int, 5> countByLength{};
    for (const KeyedCoordinate& entry : DxccEntityTable()) {
        const std::string_view key = entry.key;
        ASSERT_TRUE(key.size() >= 1 && key.size() <= 4) << key;
        EXPECT_EQ(key.find_first_not_of("/0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"), key.npos) << key;
        ++countByLength[key.size()];
    }
    EXPECT_EQ(countByLength, (std::array<int, 5>{0, 5, 222, 101, 68}));
    EXPECT_EQ(BoundsOf(DxccEntityTable()), (PinBounds{-32205, 32360, -16199, 14474}));
}

TEST(DxccEntityTable, FindsWholePrefixesByteForByte) {
    const std::pair<std::string_view, std::optional<std::string_view>> cases[] = {
        {"1A", "|2241|7538"},       {"ZS9", "|2620|-4131"},
        {"KC4", "|0|-16199"},       {"K", "|-17555|7020"},
        {"JA", "|24604|6406"},      {"VK", "|23902|-4520"},
        {"D6", "|7778|-2111"},      {"FB8", "|7778|-2111"},
        {"P2", "|25751|-1159"},     {"VK9G", "|25751|-1159"},
        {"VK9P", "|25751|-1159"},   {"3Y/B", "|612|-9796"},
        {"3Y/P", "|-16308|-12394"}, {"1M", "|-32205|-4347"},
        {"3D2", "|32360|-3262"},    {"R1FJ", "|9559|14474"},
        {"KH6", "|-28411|3839"},    {"KL7", "|-27604|11534"},
        {"3Y", std::nullopt},       {"VK9", std::nullopt},
        {"k", std::nullopt},        {"K ", std::nullopt},
        {" K", std::nullopt},       {"", std::nullopt},
        {"ja", std::nullopt},       {"1AA", std::nullopt},
        {"ZZ", std::nullopt},       {std::string_view("KC4\0", 4), std::nullopt},
    };
    for (const auto& [prefix, expected] : cases) {
        EXPECT_EQ(FindDxccCoordinate(prefix), expected) << "prefix '" << prefix << "'";
    }
}

TEST(DxccExclusionList, NamesPrefixesThatStillHavePositions) {
    const auto excluded = DxccExclusionList();
    EXPECT_EQ(excluded.size(), 61u);
    for (const char* prefix : excluded) {
        EXPECT_TRUE(FindDxccCoordinate(prefix)) << prefix;
        EXPECT_TRUE(IsExcludedDxccPrefix(prefix)) << prefix;
    }
    for (const std::string_view kept : {"K", "JA", "VK9", "vk9g", "VK9G ", "", "YY", "1A", "ZS8"}) {
        EXPECT_FALSE(IsExcludedDxccPrefix(kept)) << "prefix '" << kept << "'";
    }
}

}  // namespace
}  // namespace corvale

namespace corvale {
namespace {

// The names come from the ADIF entity list: each key of the table is named exactly once.
TEST(DxccEntityNames, NameEveryKeyOfTheTable) {
    const auto names = DxccEntityNames();
    ASSERT_EQ(names.size(), DxccEntityTable().size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_STREQ(names[i].key, DxccEntityTable()[i].key);
        EXPECT_NE(std::string_view(names[i].name), "") << names[i].key;
    }
    EXPECT_EQ(FindDxccEntityName("JA"), "JAPAN");
    EXPECT_EQ(FindDxccEntityName("ja"), std::nullopt);
}

}  // namespace
}  // namespace corvale
