#include "map/Maidenhead.h"

#include <gtest/gtest.h>

namespace corvale {
namespace {

struct RectCase {
    const char* name;
    const char* locator;
    std::optional<GeoRect> rect;  // west, south, width, height
};
void PrintTo(const RectCase& c, std::ostream* os) {
    *os << c.name;
}

class FieldRectOf : public testing::TestWithParam<RectCase> {};
class SquareRectOf : public testing::TestWithParam<RectCase> {};

TEST_P(FieldRectOf, Locator) {
    EXPECT_EQ(FieldRect(GetParam().locator), GetParam().rect);
}
TEST_P(SquareRectOf, Locator) {
    EXPECT_EQ(SquareRect(GetParam().locator), GetParam().rect);
}

std::string CaseName(const testing::TestParamInfo<RectCase>& test) {
    return test.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldRectOf,
    testing::Values(RectCase{"SouthWestCorner", "AA", GeoRect{-180, -90, 20, 10}},
                    RectCase{"NorthEastCorner", "RR", GeoRect{160, 80, 20, 10}},
                    RectCase{"NewEngland", "FN", GeoRect{-80, 40, 20, 10}},
                    RectCase{"LowerCase", "jo", GeoRect{0, 50, 20, 10}},
                    RectCase{"LetterAfterR", "SA", std::nullopt},
                    RectCase{"Digit", "F4", std::nullopt}, RectCase{"OneLetter", "F", std::nullopt},
                    RectCase{"ASquareIsNoField", "FN42", std::nullopt}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Squares, SquareRectOf,
    testing::Values(RectCase{"Fn42", "FN42", GeoRect{-72, 42, 2, 1}},
                    RectCase{"SubsquareIgnored", "FN42ab", GeoRect{-72, 42, 2, 1}},
                    RectCase{"SouthWestOfTheWorld", "AA00", GeoRect{-180, -90, 2, 1}},
                    RectCase{"NorthEastOfTheWorld", "RR99", GeoRect{178, 89, 2, 1}},
                    RectCase{"SouthernHemisphere", "QF56", GeoRect{150, -34, 2, 1}},
                    RectCase{"FieldOnly", "FN", std::nullopt},
                    RectCase{"LetterForDigit", "FNA2", std::nullopt},
                    RectCase{"BadField", "ZZ42", std::nullopt}),
    CaseName);

// The home of the azimuthal map: the middle of a field, square or subsquare.
TEST(LocatorCentreOf, FieldSquareAndSubsquare) {
    struct {
        const char* locator;
        std::optional<GeoPoint> centre;
    } cases[] = {
        {"FN", GeoPoint{-70, 45}},
        {"FN42", GeoPoint{-71, 42.5}},
        {"fn42", GeoPoint{-71, 42.5}},
        {"FN42aa", GeoPoint{-72 + 1 / 24.0, 42 + 1 / 48.0}},
        {"JO01xx", GeoPoint{2 - 1 / 24.0, 52 - 1 / 48.0}},
        {"FN42ay", std::nullopt},  // subsquare letters run from A to X
        {"FN4", std::nullopt},
        {"FN42a", std::nullopt},
        {"FN42aa00", std::nullopt},
        {"", std::nullopt},
        {"ZZ", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto centre = LocatorCentre(c.locator);
        ASSERT_EQ(centre.has_value(), c.centre.has_value()) << c.locator;
        if (centre) {
            EXPECT_DOUBLE_EQ(centre->lon, c.centre->lon) << c.locator;
            EXPECT_DOUBLE_EQ(centre->lat, c.centre->lat) << c.locator;
        }
    }
}

TEST(GridNames, ColumnAndRowNameTheCellWhoseRectangleHasThem) {
    struct {
        int column;
        int row;
        const char* field;
        const char* square;
    } cases[] = {{0, 0, "AA", "AA00"}, {54, 132, "FN", "FN42"}, {179, 179, "RR", "RR99"}};
    for (const auto& c : cases) {
        EXPECT_EQ(FieldName(c.column / 10, c.row / 10), c.field);
        EXPECT_EQ(SquareName(c.column, c.row), c.square);
        const GeoRect square = *SquareRect(c.square);
        EXPECT_EQ(square.west, -180 + 2 * c.column);
        EXPECT_EQ(square.south, -90 + c.row);
    }
}

}  // namespace
}  // namespace corvale
