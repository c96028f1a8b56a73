#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "geo/PinCoordinate.h"

namespace corvale {

// The IOTA island table (1169 references, ascending) and its exclusion list (9).
std::span<const KeyedCoordinate> IotaIslandTable();
std::span<const std::string_view> IotaExclusionList();

// Whole-text, byte-exact match: "AF-001", "af001" and "AF1" match nothing.
std::optional<std::string_view> FindIotaCoordinate(std::string_view reference);
bool IsExcludedIotaReference(std::string_view reference);

}  // namespace corvale
