#pragma once

#include <cstdint>
#include <string_view>

#include "awards/AwardRun.h"

namespace corvale {

// One colour-blind-safe palette for every picture of a run's entities: the exported files and
// the map. Colours of the Okabe-Ito set.
struct StatusColour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    std::string_view hex;  // "#RRGGBB"
};

constexpr StatusColour ColourOf(EntityStatus status) {
    switch (status) {
        case EntityStatus::Confirmed:
            return {0x00, 0x9E, 0x73, "#009E73"};
        case EntityStatus::Worked:
            return {0xE6, 0x9F, 0x00, "#E69F00"};
        case EntityStatus::Needed:
            break;
    }
    return {0xD5, 0x5E, 0x00, "#D55E00"};
}

// The word that the exported files use: "confirmed", "worked", "needed".
constexpr std::string_view StatusWord(EntityStatus status) {
    switch (status) {
        case EntityStatus::Confirmed:
            return "confirmed";
        case EntityStatus::Worked:
            return "worked";
        case EntityStatus::Needed:
            break;
    }
    return "needed";
}

inline constexpr EntityStatus kAllStatuses[] = {EntityStatus::Confirmed, EntityStatus::Worked,
                                                EntityStatus::Needed};

}  // namespace corvale
