#include "export/EntityShape.h"

#include <gtest/gtest.h>

namespace corvale {
namespace {

TEST(DegreesOfPinUnits, DivideBy180AndKeepAtMostSixDecimals) {
    struct Case {
        std::int32_t units;
        const char* degrees;
    };
    const Case cases[] = {
        {2241, "12.45"},        {7538, "41.877778"}, {-17555, "-97.527778"}, {0, "0"},
        {-16199, "-89.994444"}, {32400, "180"},      {-32400, "-180"},       {1, "0.005556"},
        {-1, "-0.005556"},      {180, "1"},          {16200, "90"},          {-4520, "-25.111111"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDegrees(DegreesOfPinUnits(c.units)), c.degrees) << c.units;
}

AwardEntity Placed(std::string key) {
    return {std::move(key), {}, EntityStatus::Worked, PinPosition{-12772, 7654}, 1};
}

// Twice the signed area: positive for a counter-clockwise ring.
double SignedArea(const std::vector<LonLat>& ring) {
    double area = 0;
    for (std::size_t i = 0; i + 1 < ring.size(); ++i)
        area += ring[i].longitude * ring[i + 1].latitude - ring[i + 1].longitude * ring[i].latitude;
    return area;
}

TEST(ShapeOf, SquaresAndFieldsAreCounterClockwiseOutlines) {
    struct Case {
        std::string name;
        std::string key;
        double west, south, east, north;
    };
    const Case cases[] = {
        {"square", "FN42", -72, 42, -70, 43},
        {"lower-case square", "fn42", -72, 42, -70, 43},
        {"field", "FN", -80, 40, -60, 50},
        {"south-west corner", "AA00", -180, -90, -178, -89},
        {"north-east corner", "RR99", 178, 89, 180, 90},
    };
    for (const Case& c : cases) {
        const auto shape = ShapeOf(Placed(c.key), true);
        ASSERT_TRUE(shape && shape->polygon) << c.name;
        const std::vector<LonLat> ring = {{c.west, c.south},
                                          {c.east, c.south},
                                          {c.east, c.north},
                                          {c.west, c.north},
                                          {c.west, c.south}};
        EXPECT_EQ(shape->points, ring) << c.name;
        EXPECT_GT(SignedArea(shape->points), 0) << c.name;
    }
}

TEST(ShapeOf, PointsWhereThereIsNoOutlineAndNothingWithoutAPosition) {
    struct Case {
        std::string name;
        AwardEntity entity;
        bool gridSquares;
        std::optional<LonLat> point;  // none: no shape at all
    };
    AwardEntity unplaced = Placed("FN42");
    unplaced.position.reset();
    const Case cases[] = {
        {"table entity", Placed("K"), false, LonLat{-70.955556, 42.522222}},
        {"square of an award without squares", Placed("FN42"), false,
         LonLat{-70.955556, 42.522222}},
        {"three-character grid", Placed("FN4"), true, LonLat{-70.955556, 42.522222}},
        {"six-character grid", Placed("FN42ab"), true, LonLat{-70.955556, 42.522222}},
        {"undecodable square", Placed("FZ42"), true, LonLat{-70.955556, 42.522222}},
        {"no position", unplaced, true, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto shape = ShapeOf(c.entity, c.gridSquares);
        ASSERT_EQ(shape.has_value(), c.point.has_value()) << c.name;
        if (!c.point)
            continue;
        EXPECT_FALSE(shape->polygon) << c.name;
        EXPECT_EQ(shape->points, std::vector<LonLat>{*c.point}) << c.name;
    }
}

}  // namespace
}  // namespace corvale
