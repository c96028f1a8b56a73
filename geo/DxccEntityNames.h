#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "geo/KeyedLookup.h"

namespace corvale {

// The name of the entity behind each key of the DXCC entity table (396, ascending byte order),
// as the ADIF entity list writes it ("SOVEREIGN MILITARY ORDER OF MALTA").
std::span<const KeyedName> DxccEntityNames();

// Whole-text, byte-exact match.
std::optional<std::string_view> FindDxccEntityName(std::string_view prefix);

}  // namespace corvale
