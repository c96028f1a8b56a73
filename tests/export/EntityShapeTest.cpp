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

// Squares and fields of an award with squares are counter-clockwise outlines; anything else
// with a position is its pin; nothing without one.
TEST(ShapeOf, OutlinesSquaresAndFieldsPinsTheRestAndNothingUnplaced) {
    struct Case {
        std::string key;
        bool gridSquares;
        std::vector<double> box;  // west, south, east, north; empty: the pin
    };
    const Case cases[] = {
        {"FN42", true, {-72, 42, -70, 43}},
        {"fn42", true, {-72, 42, -70, 43}},
        {"FN", true, {-80, 40, -60, 50}},
        {"AA00", true, {-180, -90, -178, -89}},
        {"RR99", true, {178, 89, 180, 90}},
        {"K", false, {}},
        {"FN42", false, {}},  // an award without squares
        {"FN4", true, {}},
        {"FN42ab", true, {}},
        {"FZ42", true, {}},  // not a square
    };
    for (const Case& c : cases) {
        const AwardEntity entity{c.key, {}, EntityStatus::Worked, PinPosition{-12772, 7654}, 1};
        const auto shape = ShapeOf(entity, c.gridSquares);
        ASSERT_TRUE(shape) << c.key;
        EXPECT_EQ(shape->polygon, !c.box.empty()) << c.key;
        const auto& b = c.box;
        const std::vector<LonLat> expected =
            b.empty() ? std::vector<LonLat>{{-70.955556, 42.522222}}
                      : std::vector<LonLat>{
                            {b[0], b[1]}, {b[2], b[1]}, {b[2], b[3]}, {b[0], b[3]}, {b[0], b[1]}};
        EXPECT_EQ(shape->points, expected) << c.key;
    }
    const AwardEntity unplaced{"FN42", {}, EntityStatus::Worked, std::nullopt, 1};
    EXPECT_FALSE(ShapeOf(unplaced, true));
}

}  // namespace
}  // namespace corvale
