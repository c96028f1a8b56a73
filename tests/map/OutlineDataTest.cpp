#include "map/OutlineData.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "awards/UsStateTable.h"
#include "map/EmbeddedOutlines.h"
#include "map/LatLonProjection.h"
#include "map/PlanePath.h"

namespace corvale {
namespace {

TEST(OutlineData, ReadsRegionsAndRingsWithPointsAsDifferences) {
    const OutlineData data = ParseOutlineData(
        "# comment\n"
        "C Land of Three\n"
        "R 180,360 180,0 -90,90\n"
        "R -32400,-16200 0,1 1,0\n"
        "S NY New York\n"
        "R 0,0 18,0 0,9");
    ASSERT_EQ(data.countries.size(), 1u);
    EXPECT_EQ(data.countries[0].name, "Land of Three");
    EXPECT_TRUE(data.countries[0].postalCode.empty());
    ASSERT_EQ(data.countries[0].rings.size(), 2u);
    const OutlineRing& first = data.countries[0].rings[0];
    ASSERT_EQ(first.size(), 3u);
    EXPECT_DOUBLE_EQ(first[1].lon, 2);
    EXPECT_DOUBLE_EQ(first[1].lat, 2);
    EXPECT_DOUBLE_EQ(first[2].lon, 1.5);
    EXPECT_DOUBLE_EQ(first[2].lat, 2.5);
    EXPECT_DOUBLE_EQ(data.countries[0].rings[1][0].lon, -180);
    ASSERT_NE(data.FindState("NY"), nullptr);
    EXPECT_EQ(data.FindState("NY")->name, "New York");
    EXPECT_DOUBLE_EQ(data.FindState("NY")->rings[0][2].lat, 0.05);
    EXPECT_EQ(data.FindState("ny"), nullptr);
}

struct BadTextCase {
    const char* name;
    const char* text;
    const char* message;  // what the error says
};
void PrintTo(const BadTextCase& c, std::ostream* os) {
    *os << c.name;
}

class BadOutlineText : public testing::TestWithParam<BadTextCase> {};

TEST_P(BadOutlineText, IsRejectedNamingTheLine) {
    try {
        ParseOutlineData(GetParam().text);
        FAIL() << "accepted";
    } catch (const OutlineDataError& error) {
        EXPECT_STREQ(error.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BadOutlineText,
    testing::Values(BadTextCase{"RingBeforeAnyRegion", "R 0,0 1,0 0,1",
                                "map outlines, line 1: a ring before any country or state"},
                    BadTextCase{"UnknownTag", "C A\nX 0,0",
                                "map outlines, line 2: expected \"C\", \"S\" or "
                                "\"R\" and a space"},
                    BadTextCase{"TagWithoutSpace", "CA",
                                "map outlines, line 1: expected \"C\", \"S\" or "
                                "\"R\" and a space"},
                    BadTextCase{
                        "StateWithoutPostalCode", "S New York",
                        "map outlines, line 1: a state needs a two-letter postal code and a name"},
                    BadTextCase{"TwoPointRing", "C A\nR 0,0 1,1",
                                "map outlines, line 2: a ring has fewer than three points"},
                    BadTextCase{"EmptyRing", "C A\nR ",
                                "map outlines, line 2: a ring has fewer than three "
                                "points"},
                    BadTextCase{"NotANumber", "C A\nR 0,0 a,1 1,1",
                                "map outlines, line 2: a point is not two whole numbers \"x,y\""},
                    BadTextCase{"MissingComma", "C A\nR 0,0 1 1,1",
                                "map outlines, line 2: a point is not two whole numbers \"x,y\""},
                    BadTextCase{"TextAfterANumber", "C A\nR 0,0 1,1x 1,1",
                                "map outlines, line 2: a point is not two whole numbers \"x,y\""},
                    BadTextCase{"NumberTooLargeForItsType", "C A\nR 99999999999,0 1,1 1,1",
                                "map outlines, line 2: a point is not two whole numbers \"x,y\""},
                    BadTextCase{"StartOffTheEarth", "C A\nR 32401,0 1,1 1,1",
                                "map outlines, line 2: a point lies off the earth"},
                    BadTextCase{"DifferencesWalkOffTheEarth", "C A\nR 0,16000 0,100 0,101",
                                "map outlines, line 2: a point lies off the earth"},
                    BadTextCase{"HugeDifference", "C A\nR 0,0 2147483647,0 1,1",
                                "map outlines, line 2: a point lies off the earth"}),
    [](const auto& test) { return test.param.name; });

// Every WAS state can be filled: its outline is there under its postal code and holds the
// state's own pin.
TEST(EmbeddedOutlines, HoldEveryWasStateAroundItsPin) {
    const OutlineData& outlines = EmbeddedOutlines();
    EXPECT_GT(outlines.countries.size(), 200u);
    const LatLonProjection projection;
    for (const KeyedCoordinate& state : UsStateTable()) {
        const OutlineRegion* region = outlines.FindState(state.key);
        ASSERT_NE(region, nullptr) << state.key;
        long lon = 0;
        long lat = 0;
        ASSERT_EQ(std::sscanf(state.coordinate, "|%ld|%ld", &lon, &lat), 2);
        const QPainterPath outline = RingsToPlane(projection, region->rings);
        EXPECT_TRUE(outline.contains(projection.ToPlane(GeoPointFromPinUnits(lon, lat))))
            << state.key << " " << region->name;
    }
}

}  // namespace
}  // namespace corvale
