#include "awards/UsStateTable.h"

#include <array>

#include "geo/KeyedLookup.h"

namespace corvale {
namespace {

// Keyed by the postal code under which DXBase files a contact's state, in ascending byte order.
constexpr auto kUsStates = std::to_array<KeyedCoordinate>({
    {"AK", "|-27610|11534"}, {"AL", "|-15802|5783"}, {"AR", "|-16854|6208"}, {"AZ", "|-20303|6186"},
    {"CA", "|-21601|6480"},  {"CO", "|-19124|6984"}, {"CT", "|-13147|7485"}, {"DE", "|-13604|7002"},
    {"FL", "|-14809|5041"},  {"GA", "|-15170|5828"}, {"HI", "|-28412|3839"}, {"IA", "|-17025|7550"},
    {"ID", "|-20721|7793"},  {"IL", "|-16182|7161"}, {"IN", "|-15602|7183"}, {"KS", "|-17907|6881"},
    {"KY", "|-15486|6718"},  {"LA", "|-16776|5517"}, {"MA", "|-13016|7612"}, {"MD", "|-13899|7093"},
    {"ME", "|-12576|8120"},  {"MI", "|-15350|7766"}, {"MN", "|-17229|8266"}, {"MO", "|-16867|6863"},
    {"MS", "|-16296|5993"},  {"MT", "|-20051|8409"}, {"NC", "|-14422|6383"}, {"ND", "|-18269|8516"},
    {"NE", "|-18083|7448"},  {"NH", "|-12960|7821"}, {"NJ", "|-13461|7179"}, {"NM", "|-19318|6152"},
    {"NV", "|-21167|7022"},  {"NY", "|-13732|7705"}, {"OH", "|-15014|7211"}, {"OK", "|-17724|6364"},
    {"OR", "|-21845|7830"},  {"PA", "|-14087|7330"}, {"RI", "|-12912|7493"}, {"SC", "|-14673|6067"},
    {"SD", "|-18204|7996"},  {"TN", "|-15751|6428"}, {"TX", "|-18036|5551"}, {"UT", "|-20284|6994"},
    {"VA", "|-14325|6705"},  {"VT", "|-13151|7952"}, {"WA", "|-21902|8465"}, {"WI", "|-16304|7985"},
    {"WV", "|-14627|6908"},  {"WY", "|-19569|7672"},
});
static_assert(HasAscendingUniqueKeys(kUsStates));
static_assert(kUsStates.size() == 50);

constexpr auto kUsStateNames = std::to_array<KeyedName>({
    {"AK", "Alaska"},         {"AL", "Alabama"},      {"AR", "Arkansas"},
    {"AZ", "Arizona"},        {"CA", "California"},   {"CO", "Colorado"},
    {"CT", "Connecticut"},    {"DE", "Delaware"},     {"FL", "Florida"},
    {"GA", "Georgia"},        {"HI", "Hawaii"},       {"IA", "Iowa"},
    {"ID", "Idaho"},          {"IL", "Illinois"},     {"IN", "Indiana"},
    {"KS", "Kansas"},         {"KY", "Kentucky"},     {"LA", "Louisiana"},
    {"MA", "Massachusetts"},  {"MD", "Maryland"},     {"ME", "Maine"},
    {"MI", "Michigan"},       {"MN", "Minnesota"},    {"MO", "Missouri"},
    {"MS", "Mississippi"},    {"MT", "Montana"},      {"NC", "North Carolina"},
    {"ND", "North Dakota"},   {"NE", "Nebraska"},     {"NH", "New Hampshire"},
    {"NJ", "New Jersey"},     {"NM", "New Mexico"},   {"NV", "Nevada"},
    {"NY", "New York"},       {"OH", "Ohio"},         {"OK", "Oklahoma"},
    {"OR", "Oregon"},         {"PA", "Pennsylvania"}, {"RI", "Rhode Island"},
    {"SC", "South Carolina"}, {"SD", "South Dakota"}, {"TN", "Tennessee"},
    {"TX", "Texas"},          {"UT", "Utah"},         {"VA", "Virginia"},
    {"VT", "Vermont"},        {"WA", "Washington"},   {"WI", "Wisconsin"},
    {"WV", "West Virginia"},  {"WY", "Wyoming"},
});

// Every state of the table has its name, in the same order.
constexpr bool NamesEveryState() {
    if (kUsStateNames.size() != kUsStates.size())
        return false;
    for (std::size_t i = 0; i < kUsStates.size(); ++i) {
        if (KeyOf(kUsStateNames[i]) != KeyOf(kUsStates[i]))
            return false;
    }
    return true;
}
static_assert(NamesEveryState());

}  // namespace

std::span<const KeyedCoordinate> UsStateTable() {
    return kUsStates;
}

std::optional<std::string_view> FindStateCoordinate(std::string_view state) {
    return FindKeyedCoordinate(kUsStates, state);
}

std::span<const KeyedName> UsStateNames() {
    return kUsStateNames;
}

}  // namespace corvale
