#pragma once

#include <span>
#include <string_view>

namespace corvale {

// One entity that an award counts, whether worked or not.
struct UniverseEntity {
    std::string_view key;
    std::string_view name;  // empty when none is known (IOTA references, grid squares)
};

// The fixed sets of entities, each in ascending byte order of the keys: the 50 states, the DXCC
// table's keys less its exclusion list (335), the IOTA island table (1,169), the FFMA squares
// (488). VUCC has no fixed set.
std::span<const UniverseEntity> WasUniverse();
std::span<const UniverseEntity> DxccUniverse();
std::span<const UniverseEntity> IotaUniverse();
std::span<const UniverseEntity> FfmaUniverse();
std::span<const UniverseEntity> NoUniverse();

}  // namespace corvale
