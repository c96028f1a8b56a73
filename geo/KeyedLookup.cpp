#include "geo/KeyedLookup.h"

namespace corvale {

std::optional<std::string_view> FindKeyedCoordinate(std::span<const KeyedCoordinate> table,
                                                    std::string_view key) {
    const KeyedCoordinate* found = FindByKey(table, key);
    if (found == nullptr)
        return std::nullopt;
    return found->coordinate;
}

std::optional<std::string_view> FindKeyedName(std::span<const KeyedName> table,
                                              std::string_view key) {
    const KeyedName* found = FindByKey(table, key);
    if (found == nullptr)
        return std::nullopt;
    return found->name;
}

}  // namespace corvale
