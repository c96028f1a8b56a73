#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "AwardTestLog.h"
#include "awards/AwardUniverse.h"

namespace corvale::test {
namespace {

struct UniverseCase {
    std::string name;
    std::span<const UniverseEntity> (*universe)();
    std::size_t size;
    std::map<std::string, std::string> someNames;  // key -> name ("" for none)
    std::vector<std::string> notMembers;
};
void PrintTo(const UniverseCase& c, std::ostream* os) {
    *os << c.name;
}

class Universe : public testing::TestWithParam<UniverseCase> {};

TEST_P(Universe, HoldsEveryCountedEntityOnceInKeyOrderWithItsName) {
    const UniverseCase& c = GetParam();
    const std::span<const UniverseEntity> universe = c.universe();
    EXPECT_EQ(universe.size(), c.size);
    EXPECT_TRUE(std::ranges::is_sorted(universe, std::ranges::less_equal{}, &UniverseEntity::key) &&
                std::ranges::adjacent_find(universe, {}, &UniverseEntity::key) == universe.end());
    const auto find = [&](std::string_view key) {
        return std::ranges::find(universe, key, &UniverseEntity::key);
    };
    for (const auto& [key, name] : c.someNames) {
        const auto member = find(key);
        ASSERT_NE(member, universe.end()) << key;
        EXPECT_EQ(member->name, name) << key;
    }
    for (const std::string& key : c.notMembers)
        EXPECT_EQ(find(key), universe.end()) << key;
}

const UniverseCase kUniverseCases[] = {
    {"Was",
     WasUniverse,
     50,
     {{"AK", "Alaska"}, {"ND", "North Dakota"}, {"WY", "Wyoming"}, {"HI", "Hawaii"}},
     {"DC", "PR", "ak"}},
    {"DxccLessItsExclusions",
     DxccUniverse,
     335,
     {{"1A", "SOVEREIGN MILITARY ORDER OF MALTA"},
      {"KL7", "ALASKA"},
      {"UA0", "ASIATIC RUSSIA"},
      {"KH5K", "KINGMAN REEF (DELETED)"},
      {"ZS8", "PRINCE EDWARD & MARION ISLANDS"}},
     {"DM", "VK9G", "ZS9", "1M", "VK9", "3Y"}},
    {"Iota", IotaUniverse, 1169, {{"AF001", ""}, {"SA100", ""}}, {"AF034", "OC061", "AF-001"}},
    {"Ffma", FfmaUniverse, 488, {{"CM79", ""}, {"EM00", ""}, {"FN67", ""}}, {"DM00", "EN99", "EM"}},
    {"VuccHasNone", NoUniverse, 0, {}, {"FN42"}},
};

INSTANTIATE_TEST_SUITE_P(Awards, Universe, testing::ValuesIn(kUniverseCases),
                         [](const auto& test) { return test.param.name; });

// What the result says of one entity.
struct ExpectedEntity {
    std::string key;
    EntityStatus status;
    std::size_t contacts;
    bool placed = true;
    std::string name = "";
};

struct StatusCase {
    std::string name;
    Award award;
    std::vector<Qso> log;
    std::size_t entityCount;
    std::vector<ExpectedEntity> expected;
};
void PrintTo(const StatusCase& c, std::ostream* os) {
    *os << c.name;
}

class EntityStatuses : public testing::TestWithParam<StatusCase> {};

TEST_P(EntityStatuses, AreReportedForTheUniverseAndEveryPin) {
    const StatusCase& c = GetParam();
    TempFolder folder;
    const RecordedRun run = RunLog({.award = c.award, .lstPath = folder.File("pins.lst")}, c.log);
    EXPECT_EQ(run.entities.size(), c.entityCount);
    EXPECT_TRUE(std::ranges::is_sorted(run.entities, {}, &AwardEntity::key));
    const auto pinned = std::ranges::count_if(run.entities, [](const AwardEntity& entity) {
        return entity.status != EntityStatus::Needed;
    });
    EXPECT_EQ(pinned, run.counters.total);
    for (const ExpectedEntity& e : c.expected) {
        const auto found = std::ranges::find(run.entities, e.key, &AwardEntity::key);
        ASSERT_NE(found, run.entities.end()) << e.key;
        EXPECT_EQ(found->status, e.status) << e.key;
        EXPECT_EQ(found->contacts, e.contacts) << e.key;
        EXPECT_EQ(found->position.has_value(), e.placed) << e.key;
        if (!e.name.empty()) {
            EXPECT_EQ(found->name, e.name) << e.key;
        }
    }
}

constexpr auto kConfirmed = EntityStatus::Confirmed;
constexpr auto kWorked = EntityStatus::Worked;
constexpr auto kNeeded = EntityStatus::Needed;

const StatusCase kStatusCases[] = {
    {"WasEmptyLogNeedsEveryState",
     Award::Was,
     {},
     50,
     {{"AK", kNeeded, 0, true, "Alaska"}, {"WY", kNeeded, 0, true, "Wyoming"}}},
    {"WasConfirmedWorkedAndNeeded",
     Award::Was,
     {Us("K", "AK", "1", 1), Us("K", "AK", "", 1), Us("K", "CA", "", 1), Us("VE", "ND", "", 1)},
     50,
     {{"AK", kConfirmed, 2, true, "Alaska"}, {"CA", kWorked, 1}, {"ND", kNeeded, 0}}},
    {"WasStateThatFailsTheWorkedTestIsNeeded",
     Award::Was,
     {Us("K", "NY", "", 1), Us("K", "NY", "", 0)},
     50,
     {{"NY", kNeeded, 2, true, "New York"}}},
    {"WasPinsOutsideTheUniverseKeepTheirPlace",
     Award::Was,
     {Us("K", "DC", "1", 1), Us("K", "ak", "", 1), Us("K", "GU", "", 0)},
     52,
     {{"DC", kConfirmed, 1, false}, {"ak", kWorked, 1, false}, {"AK", kNeeded, 0}}},
    {"DxccExcludedPrefixIsNeitherPinnedNorNeeded",
     Award::Dxcc,
     {Dx("DM", "1", 1), Dx("JA", "", 1), Dx("VK9", "1", 1)},
     336,
     {{"JA", kWorked, 1, true, "JAPAN"}, {"VK9", kConfirmed, 1, false}, {"DL", kNeeded, 0}}},
    {"FfmaSquareOutsideTheSetIsNotCounted",
     Award::Ffma,
     {Grid("FN42", "1", 1), Grid("EM", "", 1), Grid("EM12", "", 0), Grid("IO91", "1", 1)},
     489,
     {{"FN42", kConfirmed, 1}, {"EM", kWorked, 1}, {"EM12", kNeeded, 1}, {"FN31", kNeeded, 0}}},
    {"VuccListsWhatWasWorkedOnly",
     Award::Vucc,
     {Grid("FN42", "", 0), Grid("FN42ab", "2", 0), Grid("EM12", "", 0)},
     2,
     {{"FN42", kConfirmed, 2}, {"EM12", kWorked, 1}}},
};

INSTANTIATE_TEST_SUITE_P(Awards, EntityStatuses, testing::ValuesIn(kStatusCases),
                         [](const auto& test) { return test.param.name; });

}  // namespace
}  // namespace corvale::test
