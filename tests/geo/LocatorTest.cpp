#include "geo/Locator.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "TableChecks.h"

namespace corvale {
namespace {

TEST(GridToPin, PlacesTheSubsquareCentreOfTheCompletedLocator) {
    const std::pair<std::string_view, std::optional<std::string>> cases[] = {
        // Four characters: subsquare MM; anything after the fourth character is ignored.
        {"FN42", "|-12772|7654"},
        {"FN42ab", "|-12772|7654"},
        {"FN42MM", "|-12772|7654"},
        {"FN42xx", "|-12772|7654"},
        {"FN42!?", "|-12772|7654"},
        {"JO01", "|188|9274"},
        {"IO91", "|-172|9274"},
        {"QF56", "|27188|-6026"},
        {"AA00", "|-32212|-16106"},
        {"RR99", "|32228|16114"},
        // Shorter texts take the tail for their length.
        {"FN", "|-12608|8096"},
        {"FN4", "|-12772|8104"},
        {"F", "|-12592|4"},
        // Lower-case letters decode like upper-case ones (all-lower squares: the test below).
        {"fN42", "|-12772|7654"},
        {"fn", "|-12608|8096"},
        {"fn4", "|-12772|8104"},
        {"f", "|-12592|4"},
        // Texts that cannot be decoded have no position.
        {"", std::nullopt},
        {"S", std::nullopt},
        {"s", std::nullopt},
        {"FS42", std::nullopt},
        {"SN42", std::nullopt},
        {"ZZ99", std::nullopt},
        {"FNA2", std::nullopt},
        {"FN4A", std::nullopt},
        {"FN4 ", std::nullopt},
        {" FN42", std::nullopt},
        {"F-42", std::nullopt},
        {"\xC3\x84N42", std::nullopt},
        {std::string_view("F\0", 2), std::nullopt},
        {std::string_view("FN4\0", 4), std::nullopt},
    };
    for (const auto& [grid, expected] : cases) {
        EXPECT_EQ(GridToPin(grid), expected) << "grid '" << grid << "'";
    }
}

// Every square, in either case, is placed inside itself: one unit of the pin is 1/180 degree,
// a square spans 2 degrees of longitude and 1 of latitude from its south-west corner.
TEST(GridToPin, PlacesEverySquareInsideItselfInEitherCase) {
    for (char lon = 'A'; lon <= 'R'; ++lon) {
        for (char lat = 'A'; lat <= 'R'; ++lat) {
            for (char squareLon = '0'; squareLon <= '9'; ++squareLon) {
                for (char squareLat = '0'; squareLat <= '9'; ++squareLat) {
                    const std::string square = {lon, lat, squareLon, squareLat};
                    const std::string lower = {static_cast<char>(std::tolower(lon)),
                                               static_cast<char>(std::tolower(lat)), squareLon,
                                               squareLat};
                    const auto pin = GridToPin(square);
                    ASSERT_TRUE(pin) << square;
                    EXPECT_EQ(GridToPin(lower), pin) << lower;
                    const auto point = ParsePinCoordinate(*pin);
                    ASSERT_TRUE(point) << *pin;
                    const int west = ((lon - 'A') * 20 - 180 + (squareLon - '0') * 2) * 180;
                    const int south = ((lat - 'A') * 10 - 90 + (squareLat - '0')) * 180;
                    EXPECT_TRUE(point->longitude > west && point->longitude < west + 360) << square;
                    EXPECT_TRUE(point->latitude > south && point->latitude < south + 180) << square;
                }
            }
        }
    }
}

TEST(GridToPin, AppendsOneDiagnosticLinePerAxis) {
    const std::pair<std::string_view, std::string> cases[] = {
        {"FN42",
         "x: -12772.4940000000   buffer: '12772'   decimal: 5   sign: 1\n"
         "y: 7653.7530000000   buffer: '7654'   decimal: 4   sign: 0\n"},
        {"F",
         "x: -12592.4940000000   buffer: '12592'   decimal: 5   sign: 1\n"
         "y: 3.7530000000   buffer: '4'   decimal: 1   sign: 0\n"},
        {"QF56",
         "x: 27187.5060000000   buffer: '27188'   decimal: 5   sign: 0\n"
         "y: -6026.2470000000   buffer: '6026'   decimal: 4   sign: 1\n"},
    };
    for (const auto& [grid, lines] : cases) {
        std::string diagnostics = "earlier\n";
        ASSERT_TRUE(GridToPin(grid, &diagnostics));
        EXPECT_EQ(diagnostics, "earlier\n" + lines) << grid;
    }
    std::string untouched = "earlier\n";
    EXPECT_FALSE(GridToPin("ZZ99", &untouched));
    EXPECT_EQ(untouched, "earlier\n");
}

}  // namespace
}  // namespace corvale
