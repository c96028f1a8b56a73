#include "map/OutlineData.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "CaseFile.h"
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

// Each fault is rejected with its reason and the number of its line.
TEST(OutlineData, RejectsBadTextNamingTheLine) {
    for (const test::Case& c : test::ReadCases("map/cases/outline-data.tsv")) {
        try {
            ParseOutlineData(c[0]);
            ADD_FAILURE() << "accepted: " << c.name;
        } catch (const OutlineDataError& error) {
            EXPECT_EQ(error.what(), "map outlines, " + c[1]) << c.name;
        }
    }
}

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
