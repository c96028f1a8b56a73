#include "awards/FfmaSquares.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace corvale {
namespace {

TEST(FfmaSquares, AdmitsFourHundredEightyEightSquaresInTheirFields) {
    std::map<std::string, int> admittedPerField;
    for (char lon = 'A'; lon <= 'R'; ++lon) {
        for (char lat = 'A'; lat <= 'R'; ++lat) {
            for (char squareLon = '0'; squareLon <= '9'; ++squareLon) {
                for (char squareLat = '0'; squareLat <= '9'; ++squareLat) {
                    if (IsFfmaGrid(std::string{lon, lat, squareLon, squareLat})) {
                        ++admittedPerField[std::string{lon, lat}];
                    }
                }
            }
        }
    }
    const std::map<std::string, int> expected = {
        {"CM", 12}, {"CN", 27},  {"DL", 5},  {"DM", 90}, {"DN", 90},
        {"EL", 27}, {"EM", 100}, {"EN", 80}, {"FM", 20}, {"FN", 37},
    };
    EXPECT_EQ(admittedPerField, expected);
    EXPECT_EQ(FfmaSquareList().size(), 488u);
}

TEST(FfmaSquares, AdmitsByTheFirstFourCharactersExactly) {
    const std::pair<std::string_view, bool> cases[] = {
        {"DM13", true},    {"EM00", true},   {"EN10", true},   {"CM79", true},  {"FN67", true},
        {"FN42", true},    {"FN42ab", true}, {"EM99XX", true}, {"DM", true},    {"EM", true},
        {"DN", true},      {"EN", true},     {"DM00", false},  {"DN09", false}, {"EN99", false},
        {"DM00ab", false}, {"IO91", false},  {"FK68", false},  {"FN52", false}, {"FN40", false},
        {"CN79", false},   {"CM", false},    {"FN", false},    {"E", false},    {"", false},
        {"em42", false},   {"Em42", false},  {"dm13", false},  {"fn42", false}, {" EM42", false},
    };
    for (const auto& [grid, admitted] : cases) {
        EXPECT_EQ(IsFfmaGrid(grid), admitted) << "grid '" << grid << "'";
    }
}

}  // namespace
}  // namespace corvale
