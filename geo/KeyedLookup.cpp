#include "geo/KeyedLookup.h"

#include <algorithm>
#include <functional>

namespace corvale {

std::optional<std::string_view> FindKeyedCoordinate(std::span<const KeyedCoordinate> table,
                                                    std::string_view key) {
    const auto keyOf = [](const KeyedCoordinate& entry) { return std::string_view(entry.key); };
    const auto found = std::ranges::lower_bound(table, key, std::less<>{}, keyOf);
    if (found == table.end() || keyOf(*found) != key) {
        return std::nullopt;
    }
    return found->coordinate;
}

bool ContainsKey(std::span<const char* const> keys, std::string_view key) {
    const auto text = [](const char* candidate) { return std::string_view(candidate); };
    return std::ranges::binary_search(keys, key, std::less<>{}, text);
}

}  // namespace corvale
