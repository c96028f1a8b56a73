#include "awards/FfmaSquares.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <vector>

namespace corvale {
namespace {

constexpr auto kDmExceptions = std::to_array<std::string_view>(
    {"DM00", "DM01", "DM10", "DM11", "DM20", "DM21", "DM30", "DM40", "DM50", "DM60"});
constexpr auto kDnExceptions = std::to_array<std::string_view>(
    {"DN09", "DN19", "DN29", "DN39", "DN49", "DN59", "DN69", "DN79", "DN89", "DN99"});
constexpr auto kEnExceptions = std::to_array<std::string_view>(
    {"EN09", "EN19", "EN39", "EN49", "EN59", "EN68", "EN69", "EN77", "EN78", "EN79",
     "EN87", "EN88", "EN89", "EN93", "EN94", "EN95", "EN96", "EN97", "EN98", "EN99"});

// Fields admitted whole, less the squares of each that lie outside the award's area.
struct FfmaField {
    std::string_view field;
    std::span<const std::string_view> exceptions;
};

constexpr std::array<FfmaField, 4> kWholeFields = {{
    {"EM", {}},
    {"DM", kDmExceptions},
    {"DN", kDnExceptions},
    {"EN", kEnExceptions},
}};

// Squares admitted one by one, in the fields CM, CN, DL, EL, FM and FN along the area's border.
constexpr auto kListedSquares = std::to_array<std::string_view>({
    "CM79", "CM86", "CM87", "CM88", "CM89", "CM93", "CM94", "CM95", "CM96", "CM97", "CM98", "CM99",
    "CN70", "CN71", "CN72", "CN73", "CN74", "CN75", "CN76", "CN77", "CN78", "CN80", "CN81", "CN82",
    "CN83", "CN84", "CN85", "CN86", "CN87", "CN88", "CN90", "CN91", "CN92", "CN93", "CN94", "CN95",
    "CN96", "CN97", "CN98", "DL79", "DL88", "DL89", "DL98", "DL99", "EL06", "EL07", "EL08", "EL09",
    "EL15", "EL16", "EL17", "EL18", "EL19", "EL28", "EL29", "EL39", "EL49", "EL58", "EL59", "EL79",
    "EL84", "EL86", "EL87", "EL88", "EL89", "EL94", "EL95", "EL96", "EL97", "EL98", "EL99", "FM02",
    "FM03", "FM04", "FM05", "FM06", "FM07", "FM08", "FM09", "FM13", "FM14", "FM15", "FM16", "FM17",
    "FM18", "FM19", "FM25", "FM26", "FM27", "FM28", "FM29", "FN00", "FN01", "FN02", "FN03", "FN10",
    "FN11", "FN12", "FN13", "FN14", "FN20", "FN21", "FN22", "FN23", "FN24", "FN25", "FN30", "FN31",
    "FN32", "FN33", "FN34", "FN35", "FN41", "FN42", "FN43", "FN44", "FN45", "FN46", "FN51", "FN53",
    "FN54", "FN55", "FN56", "FN57", "FN64", "FN65", "FN66", "FN67",
});
static_assert(std::ranges::is_sorted(kListedSquares));

bool IsAdmittedThroughField(std::string_view square, std::string_view field) {
    const auto match = std::ranges::find(kWholeFields, field, &FfmaField::field);
    return match != kWholeFields.end() &&
           std::ranges::find(match->exceptions, square) == match->exceptions.end();
}

}  // namespace

bool IsFfmaGrid(std::string_view grid) {
    // Every FFMA contact of a run is tested: a binary search over the listed squares.
    const std::string_view square = grid.substr(0, 4);
    return std::ranges::binary_search(kListedSquares, square) ||
           IsAdmittedThroughField(square, grid.substr(0, 2));
}

std::span<const std::string> FfmaSquareList() {
    // The listed squares and the squares of the whole fields, in byte order: the order of a walk
    // over every square from AA00 to RR99, without testing each of them.
    static const std::vector<std::string> squares = [] {
        std::vector<std::string> admitted(kListedSquares.begin(), kListedSquares.end());
        for (const FfmaField& whole : kWholeFields) {
            for (char squareLon = '0'; squareLon <= '9'; ++squareLon) {
                for (char squareLat = '0'; squareLat <= '9'; ++squareLat) {
                    std::string square{whole.field[0], whole.field[1], squareLon, squareLat};
                    if (IsFfmaGrid(square))
                        admitted.push_back(std::move(square));
                }
            }
        }
        std::sort(admitted.begin(), admitted.end());
        return admitted;
    }();
    return squares;
}

}  // namespace corvale
