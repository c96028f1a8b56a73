#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "geo/PinCoordinate.h"

namespace corvale {

// The DXCC entity table (396 prefixes, ascending byte order) and its exclusion list (61).
std::span<const KeyedCoordinate> DxccEntityTable();
std::span<const std::string_view> DxccExclusionList();

// Whole-text, byte-exact match: no trimming, no case folding.
std::optional<std::string_view> FindDxccCoordinate(std::string_view prefix);
bool IsExcludedDxccPrefix(std::string_view prefix);

}  // namespace corvale
