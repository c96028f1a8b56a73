#include "export/EntityShape.h"

#include <gtest/gtest.h>

#include "CaseFile.h"

namespace corvale {
namespace {

constexpr char kCases[] = "export/cases/entity-shapes.tsv";

TEST(DegreesOfPinUnits, DivideBy180AndKeepAtMostSixDecimals) {
    for (const test::Case& c : test::ReadCases(kCases, "degrees"))
        EXPECT_EQ(FormatDegrees(DegreesOfPinUnits(std::stoi(c[0]))), c.name) << c[0];
}

// Squares and fields of an award with squares are counter-clockwise outlines; anything else
// with a position is its pin; nothing without one.
TEST(ShapeOf, OutlinesSquaresAndFieldsPinsTheRestAndNothingUnplaced) {
    for (const test::Case& c : test::ReadCases(kCases, "shape")) {
        const AwardEntity entity{c[0], {}, EntityStatus::Worked, PinPosition{-12772, 7654}, 1};
        const auto shape = ShapeOf(entity, c[1] == "squares");
        ASSERT_TRUE(shape) << c.name;
        EXPECT_EQ(shape->polygon, c[2] != "pin") << c.name;
        std::vector<LonLat> expected{{-70.955556, 42.522222}};
        if (c[2] != "pin") {
            const std::vector<double> b = test::Numbers(c[2]);
            expected = {{b[0], b[1]}, {b[2], b[1]}, {b[2], b[3]}, {b[0], b[3]}, {b[0], b[1]}};
        }
        EXPECT_EQ(shape->points, expected) << c.name;
    }
    const AwardEntity unplaced{"FN42", {}, EntityStatus::Worked, std::nullopt, 1};
    EXPECT_FALSE(ShapeOf(unplaced, true));
}

}  // namespace
}  // namespace corvale
