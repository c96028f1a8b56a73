#pragma once

#include <algorithm>
#include <optional>
#include <span>
#include <string_view>

#include "geo/PinCoordinate.h"

namespace corvale {

// True when the keys are unique and in ascending byte order, as FindKeyedCoordinate needs them.
constexpr bool HasAscendingUniqueKeys(std::span<const KeyedCoordinate> table) {
    const auto notBefore = [](const KeyedCoordinate& left, const KeyedCoordinate& right) {
        return std::string_view(left.key) >= std::string_view(right.key);
    };
    return std::ranges::adjacent_find(table, notBefore) == table.end();
}

// The coordinate of the entry whose whole key equals `key`, byte for byte. The table must be in
// ascending byte order of its keys.
std::optional<std::string_view> FindKeyedCoordinate(std::span<const KeyedCoordinate> table,
                                                    std::string_view key);

// True when the keys of a list are unique and in ascending byte order, as ContainsKey needs them.
constexpr bool HasAscendingUniqueKeys(std::span<const char* const> keys) {
    const auto notBefore = [](const char* left, const char* right) {
        return std::string_view(left) >= std::string_view(right);
    };
    return std::ranges::adjacent_find(keys, notBefore) == keys.end();
}

// True when one of `keys` equals the whole of `key`, byte for byte. The keys must be in
// ascending byte order: every contact of a run is tested, so this is a binary search.
bool ContainsKey(std::span<const char* const> keys, std::string_view key);

}  // namespace corvale
