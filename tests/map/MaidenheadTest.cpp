#include "map/Maidenhead.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "CaseFile.h"

namespace corvale {
namespace {

// The numbers of a field of cases/locators.tsv, none for "-".
std::optional<std::vector<double>> Numbers(const std::string& field) {
    return field == "-" ? std::nullopt : std::optional(test::Numbers(field));
}

std::optional<GeoRect> Rect(const std::string& field) {
    const auto n = Numbers(field);
    return n ? std::optional(GeoRect{(*n)[0], (*n)[1], (*n)[2], (*n)[3]}) : std::nullopt;
}

TEST(Locator, DecodesToItsFieldSquareAndCentre) {
    for (const test::Case& c : test::ReadCases("map/cases/locators.tsv")) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FieldRect(c[0]), Rect(c[1]));
        EXPECT_EQ(SquareRect(c[0]), Rect(c[2]));
        const auto centre = LocatorCentre(c[0]);
        const auto expected = Numbers(c[3]);
        ASSERT_EQ(centre.has_value(), expected.has_value());
        if (centre) {
            EXPECT_DOUBLE_EQ(centre->lon, (*expected)[0]);
            EXPECT_DOUBLE_EQ(centre->lat, (*expected)[1]);
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
