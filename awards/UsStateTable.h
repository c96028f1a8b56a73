#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "geo/KeyedLookup.h"

namespace corvale {

// The US state table: 50 two-letter postal codes, ascending byte order. No DC, no territories.
std::span<const KeyedCoordinate> UsStateTable();

// Whole-text, byte-exact match.
std::optional<std::string_view> FindStateCoordinate(std::string_view state);

// The names of the 50 states, in the order of the table ("AK" "Alaska").
std::span<const KeyedName> UsStateNames();

}  // namespace corvale
