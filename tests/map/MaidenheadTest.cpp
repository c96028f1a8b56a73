#include "map/Maidenhead.h"

#include <gtest/gtest.h>

namespace corvale {
namespace {

// What a locator decodes to: its field and square rectangles (west, south, width, height) and
// the centre the azimuthal map takes as home, none where it is not one.
struct LocatorCase {
    const char* name;
    const char* locator;
    std::optional<GeoRect> field;
    std::optional<GeoRect> square;
    std::optional<GeoPoint> centre;
};
void PrintTo(const LocatorCase& c, std::ostream* os) {
    *os << c.name;
}

class Locator : public testing::TestWithParam<LocatorCase> {};

TEST_P(Locator, DecodesToItsFieldSquareAndCentre) {
    const LocatorCase& c = GetParam();
    EXPECT_EQ(FieldRect(c.locator), c.field);
    EXPECT_EQ(SquareRect(c.locator), c.square);
    const auto centre = LocatorCentre(c.locator);
    ASSERT_EQ(centre.has_value(), c.centre.has_value());
    if (centre) {
        EXPECT_DOUBLE_EQ(centre->lon, c.centre->lon);
        EXPECT_DOUBLE_EQ(centre->lat, c.centre->lat);
    }
}

constexpr std::nullopt_t kNone = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Locators, Locator,
    testing::Values(
        LocatorCase{"SouthWestField", "AA", GeoRect{-180, -90, 20, 10}, kNone, GeoPoint{-170, -85}},
        LocatorCase{"NorthEastField", "RR", GeoRect{160, 80, 20, 10}, kNone, GeoPoint{170, 85}},
        LocatorCase{"Field", "FN", GeoRect{-80, 40, 20, 10}, kNone, GeoPoint{-70, 45}},
        LocatorCase{"LowerCaseField", "jo", GeoRect{0, 50, 20, 10}, kNone, GeoPoint{10, 55}},
        LocatorCase{"LetterAfterR", "SA", kNone, kNone, kNone},
        LocatorCase{"DigitInField", "F4", kNone, kNone, kNone},
        LocatorCase{"OneLetter", "F", kNone, kNone, kNone},
        LocatorCase{"Empty", "", kNone, kNone, kNone},
        LocatorCase{"Square", "FN42", kNone, GeoRect{-72, 42, 2, 1}, GeoPoint{-71, 42.5}},
        LocatorCase{"LowerCaseSquare", "fn42", kNone, GeoRect{-72, 42, 2, 1}, GeoPoint{-71, 42.5}},
        LocatorCase{"SouthWestSquare", "AA00", kNone, GeoRect{-180, -90, 2, 1},
                    GeoPoint{-179, -89.5}},
        LocatorCase{"NorthEastSquare", "RR99", kNone, GeoRect{178, 89, 2, 1}, GeoPoint{179, 89.5}},
        LocatorCase{"SouthernSquare", "QF56", kNone, GeoRect{150, -34, 2, 1}, GeoPoint{151, -33.5}},
        LocatorCase{"LetterForDigit", "FNA2", kNone, kNone, kNone},
        LocatorCase{"BadField", "ZZ42", kNone, kNone, kNone},
        LocatorCase{"ThreeCharacters", "FN4", kNone, kNone, kNone},
        LocatorCase{"Subsquare", "FN42aa", kNone, GeoRect{-72, 42, 2, 1},
                    GeoPoint{-72 + 1 / 24.0, 42 + 1 / 48.0}},
        LocatorCase{"LastSubsquare", "JO01xx", kNone, GeoRect{0, 51, 2, 1},
                    GeoPoint{2 - 1 / 24.0, 52 - 1 / 48.0}},
        // Subsquare letters run from A to X.
        LocatorCase{"SubsquareLetterAfterX", "FN42ay", kNone, GeoRect{-72, 42, 2, 1}, kNone},
        LocatorCase{"FiveCharacters", "FN42a", kNone, GeoRect{-72, 42, 2, 1}, kNone},
        LocatorCase{"EightCharacters", "FN42aa00", kNone, GeoRect{-72, 42, 2, 1}, kNone}),
    [](const auto& test) { return test.param.name; });

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
